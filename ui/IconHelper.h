#pragma once

#include <QColor>
#include <QStyle>

class QAbstractButton;

// Process-wide painter of the small title-bar button icons. Created once, on first use, under a
// mutex so that any thread may ask for it; the icons themselves are only set on the GUI thread.
class IconHelper
{
  public:
    static IconHelper *instance();

    // Gives the button the style's standard icon, drawn at size x size pixels in the title-bar
    // glyph colour.
    void setIcon(QAbstractButton *button, QStyle::StandardPixmap icon, int size = 10) const;

  private:
    IconHelper() = default;

    QColor m_color{0xf0, 0xf0, 0xf0};
};
