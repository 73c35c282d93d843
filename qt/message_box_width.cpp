#include "message_box_width.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

// The window icon, minimise, maximise and close buttons and the frame's
// padding, generously: window managers draw them at 16 to 32 pixels each.
constexpr int FrameDecorations = 5 * 32;

} // namespace

int widthForTitle(const QMessageBox &box)
{
    // Title bars are often bold, and larger than the text of the box itself.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    titleFont.setPointSizeF(qMax(titleFont.pointSizeF(), 11.0));
    return QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + FrameDecorations;
}

void widenToFitTitle(QMessageBox &box)
{
    // QMessageBox fixes its size from its layout's size hint, overriding any
    // minimum width; a spacer as wide as needed across the grid's columns
    // is what that hint honours.
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(widthForTitle(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
