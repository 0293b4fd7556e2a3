#pragma once

namespace murmora::qt {

// Gives screen readers the panel's own controls as what they are: the panel as a window, the
// picture buttons as push buttons with a Press action and their status ("recording"), the spinners as spin boxes
// holding their own value, the level bar as a level in dBFS, and the display's note and the
// announcements as notifications. Every such control calls it when it is made: Qt asks the interfaces installed
// last first, so they must come after the QApplication's own, which exist from then on.
void installAccessibleInterfaces();

} // namespace murmora::qt
