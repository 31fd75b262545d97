#pragma once

#include <QIcon>

namespace ui {

// The navigator's pictures, drawn rather than loaded: 16 by 16 pixels, in the order of
// DBNavigator's buttons (0 First ... 9 Refresh). The disabled look comes from the style.
QIcon navigatorIcon(int buttonIndex);

} // namespace ui
