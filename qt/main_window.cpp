#include "main_window.h"

#include "accessible_factory.h"
#include "announcer.h"
#include "control_factory.h"
#include "fixed_frame.h"
#include "focus_frame_style.h"
#include "form_rules.h"
#include "layout_table.h"
#include "message_box_width.h"
#include "phrases.h"
#include "picture_loading.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <vector>

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    installAccessibleFactory();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(FormCaption));
    setWindowIcon(QIcon(pictureFor(toQString(FormIcon), 1)));
    resize(FormWidthTwips / TwipsPerPixel, FormHeightTwips / TwipsPerPixel);
    fixFormFrame(*this);

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
    for (const ControlSpec &row : drawingOrder())
        control<QWidget>(row.name)->raise();

    firstFactor_ = control<QLabel>("Label1");
    secondFactor_ = control<QLabel>("Label2");
    verdict_ = control<QLabel>("Label5");
    problemNumber_ = control<QLabel>("Label9");
    errorCount_ = control<QLabel>("Label10");
    answer_ = control<QLineEdit>("Text1");
    announcer_ = new Announcer(this);
}

void MainWindow::setTabOrderFromTable()
{
    const std::vector<ControlSpec> focusable = tabOrder();
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        setTabOrder(control<QWidget>(focusable[i - 1].name), control<QWidget>(focusable[i].name));
    }
}

void MainWindow::connectButtons()
{
    connect(control<QPushButton>("Command2"), &QPushButton::clicked, this,
            [this] { presenter_.nextExample(); });
    connect(control<QPushButton>("Command3"), &QPushButton::clicked, this,
            [this] { presenter_.checkAnswer(); });
    connect(control<QPushButton>("Command4"), &QPushButton::clicked, this, [this] { presenter_.exit(); });
}

// By the name's own length: a view into the layout table need not end in a NUL.
template <typename T> T *MainWindow::control(std::string_view name) const
{
    T *widget = findChild<T *>(toQString(name), Qt::FindDirectChildrenOnly);
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
}

void MainWindow::showProblemNumber(std::string_view text)
{
    problemNumber_->setText(toQString(text));
}

void MainWindow::showErrorCount(std::string_view text)
{
    errorCount_->setText(toQString(text));
}

void MainWindow::showMessage(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Question, toQString(title), toQString(text), QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(toQString(MessageOkCaption));
    widenToFitTitle(box);
    keepWindowSize(box);
    box.exec();
    presenter_.messageClosed();
}

void MainWindow::drawCreditLine(int xTwips, int yTwips)
{
    creditLineAt_ = QPointF(twipsToPixels(xTwips), twipsToPixels(yTwips));
    update();
}

void MainWindow::announce(std::string_view message)
{
    announcer_->announce(toQString(message));
}

void MainWindow::describeAnswerField(std::string_view description)
{
    answer_->setAccessibleDescription(toQString(description));
}

bool MainWindow::answerFieldHasFocus() const
{
    return answer_->hasFocus();
}

void MainWindow::focusAnswerField()
{
    answer_->setFocus(Qt::OtherFocusReason);
}

FrontEnd::Ending MainWindow::endProgram()
{
    QCoreApplication::exit(0);
    return Ending::Closed;
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
