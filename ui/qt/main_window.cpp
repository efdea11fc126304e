#include "ui/qt/main_window.h"

#include "ui/qt/fonts.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/screen_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace quillory {

namespace {

// The largest screen's design size, for the smallest window: scale 1.
constexpr int kLargestWidth = 7155;
constexpr int kLargestHeight = 4380;

int pixels(int twips, qreal scale)
{
    return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel));
}

} // namespace

MainWindow::MainWindow(bool headless)
    : stage_(new QWidget(this)), strip_(new QLabel(stage_)), picture_(new PictureView(stage_)),
      headless_(headless)
{
    setObjectName(QStringLiteral("Quillory"));
    stage_->setObjectName(QStringLiteral("stage"));
    QPalette palette = stage_->palette();
    palette.setColor(QPalette::Window, QColor(48, 48, 48));
    palette.setColor(QPalette::WindowText, QColor(235, 235, 235));
    stage_->setPalette(palette);
    stage_->setAutoFillBackground(true);
    stage_->installEventFilter(this);
    setCentralWidget(stage_);
    setMinimumSize(areaFor(kLargestWidth, kLargestHeight, 1));

    strip_->setObjectName(QStringLiteral("keyStrip"));
    strip_->setAlignment(Qt::AlignCenter);
    strip_->setAccessibleName(QStringLiteral("キー"));

    auto* fullScreen = new QAction(QStringLiteral("全画面"), this);
    fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreen->setShortcutContext(Qt::WindowShortcut);
    connect(fullScreen, &QAction::triggered, this, &MainWindow::toggleFullScreen);
    addAction(fullScreen);

    connect(picture_, &PictureView::closed, this, [this] {
        if (screen_ != nullptr && !headless_)
            screen_->setFocus();
    });
}

MainWindow::~MainWindow() = default;

QSize MainWindow::areaFor(int widthTwips, int heightTwips, qreal scale)
{
    return {pixels(widthTwips, scale), pixels(heightTwips + kKeyStripTwips, scale)};
}

void MainWindow::setScreen(ScreenWindow* screen, const QString& keys)
{
    strip_->setText(keys);
    if (screen == screen_)
        return;
    picture_->dismiss();
    if (screen_ != nullptr)
        screen_->hide();
    screen_ = screen;
    if (screen_ == nullptr)
        return;
    setWindowTitle(screen_->windowTitle());
    if (headless_)
        resize(areaFor(screen_->model().width(), screen_->model().height(), zoom_));
    layoutStage(true);
    screen_->show();
    if (!headless_)
        screen_->setFocus();
}

void MainWindow::zoomTo(qreal scale)
{
    zoom_ = scale;
    if (screen_ == nullptr)
        return;
    if (!headless_ && (isFullScreen() || isMaximized()))
        showNormal();
    screen_->setScale(scale);
    // Room for the largest screen, so that a switch never needs a smaller scale.
    QSize area = headless_ ? areaFor(screen_->model().width(), screen_->model().height(), scale)
                           : areaFor(kLargestWidth, kLargestHeight, scale);
    if (const QScreen* display = QWidget::screen(); display != nullptr && !headless_)
        area = area.boundedTo(display->availableGeometry().size());
    resize(area);
    layoutStage(false);
}

void MainWindow::toggleFullScreen()
{
    if (isFullScreen()) {
        if (wasMaximised_)
            showMaximized();
        else
            showNormal();
    } else {
        wasMaximised_ = isMaximized();
        showFullScreen();
    }
}

void MainWindow::enlarge(const QImage& image, const QString& description)
{
    picture_->setScale(screen_ != nullptr ? screen_->scale() : zoom_);
    picture_->open(image, description);
    if (!headless_)
        picture_->setFocus();
}

void MainWindow::layoutStage(bool refit)
{
    if (screen_ == nullptr)
        return;
    const Screen& model = screen_->model();
    const QSize area = stage_->size();
    // Not before the window is shown: its size is not yet its own.
    if (!headless_ && refit && isVisible()) {
        const qreal wide = area.width() * qreal(kTwipsPerPixel) / model.width();
        const qreal high =
            area.height() * qreal(kTwipsPerPixel) / (model.height() + kKeyStripTwips);
        const qreal fit = std::max<qreal>(1, std::floor(std::min(wide, high) * 100) / 100);
        // The zoom itself when it fits and the fit is hardly larger.
        const bool zoomFits =
            area.expandedTo(areaFor(model.width(), model.height(), zoom_)) == area;
        const qreal scale = zoomFits && fit - zoom_ < 0.02 ? zoom_ : fit;
        if (scale != screen_->scale()) {
            screen_->setScale(scale);
            if (scale != zoom_) {
                zoom_ = scale;
                emit fitted(scale);
            }
        }
    }
    const qreal scale = screen_->scale();
    const QSize shown = areaFor(model.width(), model.height(), scale);
    const QPoint corner((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2);
    screen_->move(corner);
    const int stripHeight = pixels(kKeyStripTwips, scale);
    QFont font = japaneseFont(kTextPixels * 0.9 * scale);
    // One line, never cut: smaller type where the keys would not fit.
    const qreal room = screen_->width() - 8 * scale;
    const qreal wide = QFontMetricsF(font).horizontalAdvance(strip_->text());
    if (wide > room && wide > 0)
        font = japaneseFont(std::floor(font.pixelSize() * room / wide));
    strip_->setFont(font);
    strip_->setGeometry(corner.x(), corner.y() + screen_->height(), screen_->width(), stripHeight);
    if (picture_->isOpen()) {
        picture_->setGeometry(stage_->rect());
        picture_->setScale(scale);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == stage_ && event->type() == QEvent::Resize)
        layoutStage(true);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The screen decides: a way back, or the end of the program.
    event->ignore();
    emit closeRequested();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Keys that no widget took, as when the focus is nowhere: the screen's keys.
    if (picture_->isOpen() || screen_ == nullptr) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    QWidget* focus = focusWidget();
    const bool inScreen = focus != nullptr && (focus == screen_ || screen_->isAncestorOf(focus));
    if (!inScreen && screen_->takeKey(event))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

} // namespace quillory
