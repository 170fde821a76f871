#pragma once

#include <QPointer>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/main_window.h"

#include "charts/graph_window.h"

namespace quorvane::test {

// What a user relies on after every step of the soak, whatever happened in it. Each check
// returns the problems it found, empty when all is well.
class SoakChecks {
  public:
    explicit SoakChecks(const MainWindow& window) : window_(window) {}

    // The day and interval table in force now; a graph started now fills from them.
    void noteDataInForce();

    std::vector<std::string> dayMatchesItsTable() const;
    std::vector<std::string> listsShowTheDay() const;
    std::vector<std::string> buttonsAreEnabled() const;
    // A new graph window shows one of the tables that were in force; a known one still shows
    // what it showed when it was new.
    std::vector<std::string> graphsShowTheirTables();

  private:
    struct InForce {
        std::shared_ptr<const Day> day;
        std::shared_ptr<const IntervalTable> table;
    };
    bool filledFrom(const GraphWindow& window, const InForce& data) const;

    const MainWindow& window_;
    std::deque<InForce> history_;  // newest first
    // Each window seen so far with its points when it was first seen.
    std::vector<std::pair<QPointer<GraphWindow>, uint64_t>> known_;
};

}  // namespace quorvane::test
