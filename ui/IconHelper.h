#pragma once

#include <QStyle>

class QAbstractButton;

// Process-wide painter of the small title-bar button icons. Created once, on first use, under a
// mutex so that any thread may ask for it; the icons themselves are only set on the GUI thread.
class IconHelper
{
  public:
    static IconHelper *instance();

    // Gives the button the style's standard icon, drawn at size x size pixels.
    void setIcon(QAbstractButton *button, QStyle::StandardPixmap icon, int size = 10) const;

  private:
    IconHelper() = default;
};
