#include "NoIcon.h"

#include <QIcon>
#include <QPixmap>
#include <QWidget>

void showNoIcon(QWidget &window)
{
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    // Set on the widget, which keeps it when its native window is made again; an empty QIcon would
    // fall back to the program's icon.
    window.setWindowIcon(QIcon(blank));
}
