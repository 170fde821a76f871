#pragma once

#include <QWidget>

#include "ui/command_context.h"
#include "ui/graph_commands.h"
#include "ui/main_controls.h"
#include "ui/workspace.h"

namespace quorvane {

class Dialogs;
class ListCoupling;

// frmMain: the program's control window. It owns the workspace, its controls and the
// secondary windows; its slots hand them to the commands. Closing it runs ShutDown.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    MainWindow(Dialogs& dialogs, Environment environment, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainControls& controls() { return controls_; }
    const Workspace& workspace() const { return workspace_; }

    // A ".traffic" archive built or a ".station" file loaded as its button does, without the
    // open dialog: a file named on the command line or dropped on the window.
    void openFile(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void startUp();
    void connectCommands();
    void connectGraphButton(QWidget* button, GraphKind kind);

    Environment environment_;
    Workspace workspace_;
    MainControls controls_;
    SecondaryWindows windows_;
    CommandContext context_;
    ListCoupling* coupling_ = nullptr;
    bool shutDown_ = false;
};

// The definition lists are read from the program's own directory (or, where it has none, from
// beside the data: chooseListFolder); report files go to the current directory.
Environment programEnvironment();

}  // namespace quorvane
