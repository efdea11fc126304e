// The one main window: it shows the visible screen, centred at the largest scale
// that fits, with the key strip below, and swaps screens in place.
#pragma once

#include <QMainWindow>

class QLabel;

namespace quillory {

class PictureView;
class ScreenWindow;

// The key strip's height in twips, under the screen's own area.
inline constexpr int kKeyStripTwips = 300;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Headless: every screen is drawn at the zoom and the window takes its size;
    // otherwise a screen is fitted to the window, which keeps its size.
    explicit MainWindow(bool headless);
    ~MainWindow() override;

    // The parent of every screen's widget.
    QWidget* stage() const { return stage_; }

    // Shows this screen in place of the one before (nullptr: none).
    void setScreen(ScreenWindow* screen, const QString& keys);
    ScreenWindow* shownScreen() const { return screen_; }

    // The zoom: the window takes the size of the largest screen at this scale
    // (headless: of the visible one), leaving full screen or maximised first; a
    // resize by the learner refits.
    void zoomTo(qreal scale);
    qreal zoom() const { return zoom_; }

    // F11: full screen, or back.
    void toggleFullScreen();

    // The key strip under the screen.
    QLabel* keyStrip() const { return strip_; }
    // The enlarged picture over the window.
    PictureView* pictureView() const { return picture_; }
    void enlarge(const QImage& image, const QString& description);

    // The size of the window's area that shows a screen of this size at a scale.
    static QSize areaFor(int widthTwips, int heightTwips, qreal scale);

signals:
    // The close box.
    void closeRequested();
    // A resize by the learner drew the screen at another scale.
    void fitted(qreal scale);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the screen and the strip; refit: first draws the screen at the largest
    // scale that fits (when not headless).
    void layoutStage(bool refit);

    QWidget* stage_;
    QLabel* strip_;
    PictureView* picture_;
    ScreenWindow* screen_ = nullptr;
    bool headless_;
    qreal zoom_ = 1;
    bool wasMaximised_ = false;
};

} // namespace quillory
