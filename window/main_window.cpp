#include "main_window.h"

#include "accessible_factory.h"
#include "announcer.h"
#include "control_factory.h"
#include "focus_frame_style.h"
#include "layout_table.h"
#include "message_box_width.h"
#include "quiz_commands.h"
#include "wayland_size_guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace {

bool takesFocus(const ControlSpec &row)
{
    return row.kind == ControlKind::PushButton || row.kind == ControlKind::TextField;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    installAccessibleFactory();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(FormCaption));
    setWindowIcon(QIcon(toQString(FormIcon)));
    setFixedSize(FormWidthTwips / TwipsPerPixel, FormHeightTwips / TwipsPerPixel);
    // A fixed layout has nothing to gain from a bigger window: the frame
    // offers minimise and close only, no maximise and no full screen.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    new WaylandSizeGuard(*this);

    QPalette palette(toQColor(FormBackground));
    palette.setColor(QPalette::Window, toQColor(FormBackground));
    palette.setColor(QPalette::WindowText, toQColor(StandardTextColour));
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(fontFor(FormFont));

    // The window's own style, so the buttons keep their green faces whatever
    // style the desktop would impose.
    style_ = new FocusFrameStyle;
    style_->setParent(this);

    buildControls();
    setTabOrderFromTable();
    connectButtons();
    answer_->setFocus();
}

QString MainWindow::creditText()
{
    return toQString(CreditText);
}

void MainWindow::buildControls()
{
    for (const ControlSpec &row : formControls())
        createControl(row, this, style_);

    firstFactor_ = control<QLabel>("Label1");
    secondFactor_ = control<QLabel>("Label2");
    verdict_ = control<QLabel>("Label5");
    problemNumber_ = control<QLabel>("Label9");
    errorCount_ = control<QLabel>("Label10");
    answer_ = control<QLineEdit>("Text1");
    announcer_ = new Announcer(this);

    // Where the heading overlaps the kitten picture, the picture stays whole.
    control<QLabel>("Image3")->raise();
}

void MainWindow::setTabOrderFromTable()
{
    std::vector<ControlSpec> focusable;
    std::ranges::copy_if(formControls(), std::back_inserter(focusable), takesFocus);
    std::ranges::sort(focusable, {}, &ControlSpec::tabIndex);
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        setTabOrder(control<QWidget>(focusable[i - 1].name.data()),
                    control<QWidget>(focusable[i].name.data()));
    }
}

void MainWindow::connectButtons()
{
    connect(control<QPushButton>("Command2"), &QPushButton::clicked, this,
            [this] { onNextExample(quiz_, *this, random_); });
    connect(control<QPushButton>("Command3"), &QPushButton::clicked, this,
            [this] { onCheckAnswer(quiz_, *this); });
    connect(control<QPushButton>("Command4"), &QPushButton::clicked, this, &MainWindow::onExit);
}

void MainWindow::onExit()
{
    QCoreApplication::exit(0);
}

template <typename T> T *MainWindow::control(const char *name) const
{
    T *widget = findChild<T *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    Q_ASSERT(widget);
    return widget;
}

void MainWindow::showFirstFactor(std::string_view text)
{
    firstFactor_->setText(toQString(text));
}

void MainWindow::showSecondFactor(std::string_view text)
{
    secondFactor_->setText(toQString(text));
    presentProblem();
}

// With both factors shown the problem is complete. The learner's typing
// belongs in the answer field, so the focus goes there, carrying the problem
// as the field's description for a screen reader to read with it; where the
// focus already is, the problem is announced instead. This happens before the
// old answer is erased, so that the erasing is not read out.
void MainWindow::presentProblem()
{
    const QString question =
        QStringLiteral("Сколько будет %1 х %2?").arg(firstFactor_->text(), secondFactor_->text());
    answer_->setAccessibleDescription(question);
    if (answer_->hasFocus())
        announcer_->announce(question);
    else
        answer_->setFocus(Qt::OtherFocusReason);
}

std::string MainWindow::answerText() const
{
    return answer_->text().toStdString();
}

void MainWindow::clearAnswer()
{
    answer_->clear();
}

void MainWindow::showVerdict(std::string_view text, std::optional<ColourWord> colour)
{
    if (colour) {
        QPalette palette = verdict_->palette();
        palette.setColor(QPalette::WindowText, toQColor(*colour));
        verdict_->setPalette(palette);
    }
    verdict_->setText(toQString(text));
    announcer_->announce(verdict_->text());
}

void MainWindow::showProblemNumber(std::string_view text)
{
    problemNumber_->setText(toQString(text));
}

void MainWindow::showErrorCount(std::string_view text)
{
    errorCount_->setText(toQString(text));
    // The count alone would be a bare number; with its caption it says what it counts.
    announcer_->announce(control<QLabel>("Label8")->text() + u' ' + errorCount_->text());
}

void MainWindow::showMessage(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Question, toQString(title), toQString(text), QMessageBox::Ok, this);
    // Qt's Russian translation leaves this button in Latin letters.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    widenToFitTitle(box);
    new WaylandSizeGuard(box);
    box.exec();
}

void MainWindow::drawCreditLine(int xTwips, int yTwips)
{
    creditLineAt_ = QPointF(twipsToPixels(xTwips), twipsToPixels(yTwips));
    update();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Some desktops maximise or go full screen even when the frame offers
    // neither (a keyboard shortcut, a Wayland compositor): the fixed form
    // stays at its size instead of sitting in a corner of a green screen.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
}

void MainWindow::paintEvent(QPaintEvent *)
{
    if (!creditLineAt_)
        return;
    // Painted with the window rather than once, so it survives being covered.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawPoint(*creditLineAt_);
    const QRectF line(*creditLineAt_, QPointF(width(), height()));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, creditText());
}
