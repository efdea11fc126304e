#include "ui/qt/text_box.h"

#include "ui/qt/fonts.h"

#include <QFontInfo>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QStyle>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolButton>

#include <algorithm>

namespace quillory {

namespace {

// The plain text layout with its lines moved to our own steps: the em box of each
// line sits in the middle of its step, and a line without text takes a lower step.
// The plain layout puts lines at its own steps whenever it lays a block out: when
// the document changes, and after it drops every block's lines (a new width). Right
// after each, every block is laid out and its lines moved; asking for a block's
// size moves nothing.
class SpacedLayout : public QPlainTextDocumentLayout {
public:
    explicit SpacedLayout(QTextDocument* document) : QPlainTextDocumentLayout(document)
    {
        // The width changed, or the layout was asked to start again: it has
        // dropped every block's lines and tells its views.
        connect(this, &QAbstractTextDocumentLayout::update, this, [this] { space(); });
    }

    void setSteps(qreal line, qreal emptyLine)
    {
        line_ = line;
        empty_ = emptyLine;
        document()->markContentsDirty(0, document()->characterCount());
    }
    qreal line() const { return line_; }
    qreal emptyLine() const { return empty_; }

    QRectF blockBoundingRect(const QTextBlock& block) const override
    {
        const QRectF natural = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (!block.isValid() || !block.isVisible())
            return natural;
        const qreal step = stepOf(block);
        qreal height = std::max(1, block.layout()->lineCount()) * step;
        if (!block.next().isValid())
            height += document()->documentMargin();
        return QRectF(0, 0, natural.width(), height);
    }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override
    {
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        space();
    }

private:
    qreal em() const
    {
        const QFont font = document()->defaultFont();
        return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    }

    qreal stepOf(const QTextBlock& block) const
    {
        const bool empty = block.length() <= 1;
        return (empty ? empty_ : line_) * em();
    }

    // Lays out every block not laid out yet and puts its lines on their steps.
    void space()
    {
        const qreal em = this->em();
        const qreal margin = document()->documentMargin();
        // Ideographs fill the em box from 0.88 em above the baseline to 0.12 em below.
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            if (!block.isVisible())
                continue;
            ensureBlockLayout(block);
            QTextLayout* layout = block.layout();
            const qreal step = stepOf(block);
            const qreal baseline = (step - em) / 2 + 0.88 * em;
            for (int i = 0; i < layout->lineCount(); ++i) {
                QTextLine line = layout->lineAt(i);
                line.setPosition(QPointF(margin, i * step + baseline - line.ascent()));
            }
        }
    }

    qreal line_ = TextBox::kLineStep;
    qreal empty_ = TextBox::kEmptyLineStep;
};

bool isWordOrderMarker(QChar c)
{
    return c.unicode() >= 0xFF71 && c.unicode() <= 0xFF77; // half-width ｱ to ｷ
}

// Each marker as a tag: drawn wide and bold on a tint, so that ｱ no longer reads as 7.
class MarkerHighlighter : public QSyntaxHighlighter {
public:
    explicit MarkerHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
    {
        tag_.setBackground(QColor(255, 224, 140));
        tag_.setForeground(QColor(0, 40, 140));
        tag_.setFontWeight(QFont::Bold);
        tag_.setFontStretch(QFont::ExtraExpanded);
    }

protected:
    void highlightBlock(const QString& text) override
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (isWordOrderMarker(text[i]))
                setFormat(static_cast<int>(i), 1, tag_);
        }
    }

private:
    QTextCharFormat tag_;
};

} // namespace

QSyntaxHighlighter* markWordOrderMarkers(QTextDocument* document)
{
    return new MarkerHighlighter(document);
}

QString TextBox::moreCaption()
{
    return QStringLiteral("▼ 続き");
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    auto* document = new QTextDocument(this);
    document->setDocumentLayout(new SpacedLayout(document));
    setDocument(document);
    setReadOnly(true);
    markWordOrderMarkers(document);

    more_ = new QToolButton(this);
    more_->setObjectName(QStringLiteral("more"));
    more_->setText(moreCaption());
    more_->setAccessibleName(QStringLiteral("続き"));
    more_->setToolTip(QStringLiteral("続きを表示（Page Down または ↓）"));
    more_->setFocusPolicy(Qt::NoFocus);
    more_->setCursor(Qt::PointingHandCursor);
    more_->hide();
    connect(more_, &QToolButton::clicked, this, [this] { scrollPage(1); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateMore(); });
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { updateMore(); });
    setScale(1);
}

void TextBox::showText(const QString& text)
{
    setPlainText(text);
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
    updateMore();
}

void TextBox::setDense()
{
    dense_ = true;
    setLineSteps(kDenseLineStep, kDenseEmptyLineStep);
    setScale(scale_);
}

void TextBox::setScale(qreal scale)
{
    scale_ = scale;
    setFont(japaneseFont((dense_ ? kDenseTextPixels : kTextPixels) * scale));
    document()->setDocumentMargin(kMargin * scale);
    const auto px = [scale](qreal pixels) { return qMax(1, qRound(pixels * scale)); };
    // A dark thumb on a light track (5.9:1), as wide as the zoom makes the text.
    verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { width: %1px; background: #e4e4e4; margin: 0; }"
                       "QScrollBar::handle:vertical { background: #555555; min-height: %2px;"
                       " margin: %3px; border-radius: %3px; }"
                       // Nothing to scroll: no dark bar that reads as something.
                       "QScrollBar[idle=\"true\"]::handle:vertical { background: #e4e4e4; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
                       " { height: 0; border: none; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
                       " { background: none; }")
            .arg(px(16))
            .arg(px(24))
            .arg(px(2)));
    more_->setStyleSheet(QStringLiteral("QToolButton { background: #1d4f91; color: white;"
                                        " border: 1px solid #0b2a55; border-radius: %1px;"
                                        " padding: %1px %2px; }"
                                        "QToolButton:hover { background: #2a66b5; }")
                             .arg(px(2))
                             .arg(px(6)));
    QFont font = japaneseFont(kTextPixels * scale);
    font.setBold(true);
    more_->setFont(font);
    more_->adjustSize();
    updateMore();
}

void TextBox::setLineSteps(qreal line, qreal emptyLine)
{
    static_cast<SpacedLayout*>(document()->documentLayout())->setSteps(line, emptyLine);
    updateMore();
}

qreal TextBox::lineStep() const
{
    return static_cast<SpacedLayout*>(document()->documentLayout())->line();
}

qreal TextBox::emptyLineStep() const
{
    return static_cast<SpacedLayout*>(document()->documentLayout())->emptyLine();
}

bool TextBox::scrollPage(int pages)
{
    QScrollBar* bar = verticalScrollBar();
    const int before = bar->value();
    for (int i = 0; i < std::abs(pages); ++i)
        bar->triggerAction(pages > 0 ? QAbstractSlider::SliderPageStepAdd
                                     : QAbstractSlider::SliderPageStepSub);
    updateMore();
    return bar->value() != before;
}

bool TextBox::scrollByKey(int key)
{
    switch (key) {
    case Qt::Key_PageDown:
    case Qt::Key_Down:
        scrollPage(1);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_Up:
        scrollPage(-1);
        return true;
    default:
        return false;
    }
}

bool TextBox::moreBelow() const
{
    const QScrollBar* bar = verticalScrollBar();
    return !fits() && bar->value() < bar->maximum();
}

void TextBox::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    updateMore();
}

void TextBox::updateMore()
{
    // Inside the box at its lower right, over the text it covers.
    const QRect area = viewport()->geometry();
    const int inset = qMax(1, font().pixelSize() / 6);
    more_->move(area.right() + 1 - more_->width() - inset,
                area.bottom() + 1 - more_->height() - inset);
    more_->setVisible(moreBelow());
    more_->raise();
    QScrollBar* bar = verticalScrollBar();
    const bool idle = bar->maximum() <= bar->minimum();
    if (bar->property("idle").toBool() != idle) {
        bar->setProperty("idle", idle);
        bar->style()->unpolish(bar);
        bar->style()->polish(bar);
        bar->update();
    }
}

qreal TextBox::contentHeight() const
{
    const QTextDocument* document = this->document();
    qreal height = document->documentMargin();
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next())
        height += document->documentLayout()->blockBoundingRect(block).height();
    return height;
}

bool TextBox::fits() const
{
    return contentHeight() <= viewport()->height() + 0.01;
}

} // namespace quillory
