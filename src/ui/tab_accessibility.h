#pragma once

namespace quorvane {

// Qt tells assistive tools that every tab of a tab bar is available, also one that is drawn
// greyed out and cannot be chosen. Installs an accessible tab bar whose tabs report their own
// availability. Call once the application exists and before any window is made.
void installTabAccessibility();

}  // namespace quorvane
