#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "base/dialogs.h"

namespace quorvane {

// The Dialogs of the running program: QMessageBox with an OK button and the application's
// title, QFileDialog for the file choices.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(MessageIcon icon, std::string_view text) override;
    std::string chooseFile(const FileDialogRequest& request) override;

  private:
    QPointer<QWidget> parent_;
};

// A message or log text for a Qt widget: its CR LF line breaks become LF.
QString qtText(std::string_view text);

// "All files (*.*)|*.*|*.csv files|*.csv" as Qt name filters: "All files (*)",
// "*.csv files (*.csv)". "*.*" means every file, as it does on the platform the lists come from.
QStringList qtNameFilters(std::string_view filter);

}  // namespace quorvane
