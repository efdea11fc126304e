// Every text of every script, drawn into the real text boxes at scale 1: game texts
// and lesson questions with their choices show whole; longer texts scroll from the top.
#include "app/navigator.h"
#include "app/screens.h"
#include "game/game_screen.h"
#include "lessons/lesson_profile.h"
#include "ui/qt/fonts.h"
#include "ui/qt/screen_window.h"
#include "ui/qt/text_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

using namespace quillory;

namespace {

// The text an effect leaves in T1, if it writes one.
std::optional<std::string> written(const Effect& effect)
{
    if (effect.kind == EffectKind::SetText)
        return effect.text();
    if (effect.kind == EffectKind::WriteLines)
        return writeLinesText(effect.lines);
    return std::nullopt;
}

// The last text a list of effects writes.
std::optional<std::string> lastText(const std::vector<Effect>& effects)
{
    std::optional<std::string> text;
    for (const Effect& effect : effects) {
        if (auto t = written(effect))
            text = t;
    }
    return text;
}

bool showsChoices(const LessonScript& script, const StepTransition& row)
{
    const bool inRow = std::any_of(row.effects.begin(), row.effects.end(), [](const Effect& e) {
        return e.kind == EffectKind::ShowChoices;
    });
    // Talk may show answer buttons before its row.
    const bool byRange =
        row.trigger == Talk &&
        !lessonTurn(script, ConversationScreen::kMaxAnswers, row.from, Talk).shows.empty();
    return inRow || byRange;
}

std::string triggerText(Trigger trigger)
{
    switch (trigger.kind) {
    case TriggerKind::Talk:
        return "Talk";
    case TriggerKind::Teacher:
        return "Teacher";
    case TriggerKind::Answer:
        return "Answer " + std::to_string(trigger.answer);
    }
    return "?";
}

// One screen of the program, created as the navigator creates it, in a real window.
struct Drawn {
    Navigator navigator{QUILLORY_BUILD_DIR};
    std::unique_ptr<ScreenWindow> window;
    TextBox* box = nullptr;

    explicit Drawn(const std::string& screen)
    {
        defineScreens(navigator);
        navigator.showForm(screen);
        window = std::make_unique<ScreenWindow>(*navigator.screen(screen), 1.0);
        window->show();
        box = qobject_cast<TextBox*>(window->controlWidget("T1"));
    }

    // Draws the text; an empty result when it shows as it must, else what is wrong.
    QString draw(const std::string& text, bool mustFit)
    {
        box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
        box->showText(widgetText(text));
        QCoreApplication::processEvents();
        if (box->verticalScrollBar()->value() != 0)
            return "does not start at its top";
        if (box->fits())
            return {};
        if (mustFit)
            return QString("needs %1 of %2 pixels")
                .arg(box->contentHeight(), 0, 'f', 1)
                .arg(box->viewport()->height());
        if (box->verticalScrollBar()->maximum() == 0)
            return "cannot be scrolled to its end";
        return {};
    }
};

} // namespace

class FitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        applyLook(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        std::filesystem::current_path(QUILLORY_BUILD_DIR);
    }

    void lessonQuestionsShowEveryChoice()
    {
        QStringList problems;
        int questions = 0;
        for (const LessonProfile& profile : lessonProfiles()) {
            if (profile.script == nullptr)
                continue;
            Drawn drawn(profile.screen);
            QVERIFY(drawn.box != nullptr);
            QCOMPARE(drawn.window->controlWidget("T1")->height(),
                     twipsToPixels(profile.textHeight));
            const LessonScript& script = profile.script();
            for (const StepTransition& row : script.rows) {
                const auto text = lastText(row.effects);
                if (!text)
                    continue;
                const bool question = showsChoices(script, row);
                questions += question ? 1 : 0;
                const QString wrong = drawn.draw(*text, question);
                if (!wrong.isEmpty())
                    problems << QString::fromStdString(profile.screen + " step " +
                                                       std::to_string(row.from) + " " +
                                                       triggerText(row.trigger) + ": ") +
                                    wrong;
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        // Today's scripts put questions with their choices; later ones only add more.
        QVERIFY(questions >= 4);
    }

    void everyGameTextShowsWhole()
    {
        Drawn drawn("Form17");
        QVERIFY(drawn.box != nullptr);
        QCOMPARE(drawn.box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QStringList problems;
        int texts = 0;
        for (const GameRule& rule : gameScript().rules) {
            for (const Effect& effect : rule.effects) {
                const auto text = written(effect);
                if (!text)
                    continue;
                ++texts;
                const QString wrong = drawn.draw(*text, true);
                if (!wrong.isEmpty())
                    problems << QString::fromStdString("Form17 step " + describe(rule.from) + " " +
                                                       triggerName(rule.trigger) + ": ") +
                                    wrong;
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY(texts >= 30);
    }

    void emptyLinesAreLowerAndLongTextsScroll()
    {
        Drawn drawn("Form3");
        TextBox& box = *drawn.box;
        // Four lines in the WriteLines layout take less than eight full lines.
        box.showText(widgetText(writeLinesText({"あ", "い", "う", "え"})));
        const qreal em = box.font().pixelSize();
        const qreal expected = 4 * TextBox::kLineStep * em + 4 * TextBox::kEmptyLineStep * em +
                               2 * box.document()->documentMargin();
        QCOMPARE(box.contentHeight(), expected);
        QVERIFY(box.fits());
        // The text itself is unchanged by how it is drawn.
        QCOMPARE(box.toPlainText(), QString("\nあ\n\nい\n\nう\n\nえ"));

        // The explanation's eighteen lines show whole, in its denser box only.
        Drawn help("Form2");
        auto* text = qobject_cast<TextBox*>(help.window->controlWidget("Text1"));
        QVERIFY(text != nullptr);
        QVERIFY(text->fits());
        QVERIFY(!text->moreMarker()->isVisibleTo(text));
        QVERIFY(text->lineStep() < box.lineStep());
        QCOMPARE(box.lineStep(), TextBox::kLineStep);
    }

    void longTextsAnnounceTheirRestAndScrollFromAnyFocus()
    {
        Drawn drawn("Form3");
        TextBox& box = *drawn.box;
        QScrollBar& bar = *box.verticalScrollBar();
        std::vector<std::string> lines;
        for (int i = 1; i <= 14; ++i)
            lines.push_back("行 " + std::to_string(i));
        box.showText(widgetText(writeLinesText(lines)));
        QCoreApplication::processEvents();
        QToolButton* more = box.moreMarker();
        QVERIFY(more->isVisible());
        QCOMPARE(more->text(), TextBox::moreCaption());
        QVERIFY(box.viewport()->geometry().contains(more->geometry())); // inside, at the foot
        QVERIFY(more->geometry().bottom() > box.viewport()->geometry().center().y());

        // Page Down from a button's focus scrolls a page; the marker goes at the end.
        auto* button = qobject_cast<QAbstractButton*>(drawn.window->controlWidget("Command1"));
        QVERIFY(button != nullptr);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_PageDown);
        QVERIFY(bar.value() > 0);
        for (int i = 0; i < 10 && more->isVisible(); ++i)
            QTest::keyClick(button, Qt::Key_Down);
        QCOMPARE(bar.value(), bar.maximum());
        QVERIFY(!more->isVisible());
        QTest::keyClick(button, Qt::Key_PageUp);
        QVERIFY(bar.value() < bar.maximum() && more->isVisible());
        const int before = bar.value();
        QTest::mouseClick(more, Qt::LeftButton);
        QVERIFY(bar.value() > before);

        // A new text starts at its top; a short one shows no marker.
        box.showText(QStringLiteral("短い"));
        QCOMPARE(bar.value(), 0);
        QVERIFY(!more->isVisible());

        // The scroll bar grows with the zoom.
        const int narrow = bar.sizeHint().width();
        drawn.window->setScale(2);
        QCOMPARE(bar.sizeHint().width(), 2 * narrow);
        QCOMPARE(box.document()->documentMargin(), 2 * TextBox::kMargin);
    }

    void wordOrderMarkersStandOutButReadBackUnchanged()
    {
        Drawn drawn("Form3");
        TextBox& box = *drawn.box;
        const QString text = QStringLiteral("ｱ He ｲ gave ｳ her ｴ a book.\nア");
        box.showText(text);
        QCOMPARE(box.toPlainText(), text);
        QCOMPARE(modelText(box.toPlainText()), std::string("ｱ He ｲ gave ｳ her ｴ a book.\r\nア"));
        const QTextBlock block = box.document()->firstBlock();
        QList<int> tagged;
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            QVERIFY(range.format.background().style() != Qt::NoBrush);
            tagged << range.start;
        }
        QCOMPARE(tagged, (QList<int>{0, 5, 12, 18}));
        QVERIFY(box.document()->lastBlock().layout()->formats().isEmpty()); // full-width ア
    }

    void linesStandOnTheirStepsThroughTextWidthAndFontChanges()
    {
        Drawn drawn("Form3");
        TextBox& box = *drawn.box;
        // Where a line's em box stands: in the middle of its step.
        const auto misplaced = [&box]() -> QString {
            const qreal em = box.font().pixelSize();
            const qreal margin = box.document()->documentMargin();
            for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next()) {
                const qreal step =
                    (b.length() <= 1 ? TextBox::kEmptyLineStep : TextBox::kLineStep) * em;
                for (int i = 0; i < b.layout()->lineCount(); ++i) {
                    const QTextLine line = b.layout()->lineAt(i);
                    const QPointF at(margin,
                                     i * step + (step - em) / 2 + 0.88 * em - line.ascent());
                    if ((line.position() - at).manhattanLength() > 0.05) // kept in 64ths
                        return QString("block %1 line %2").arg(b.blockNumber()).arg(i);
                }
            }
            return {};
        };
        box.showText(widgetText(writeLinesText(
            {"This is a pen.", "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"})));
        QVERIFY2(misplaced().isEmpty(), qPrintable(misplaced()));
        box.resize(box.width() / 2, box.height());
        QVERIFY(box.document()->lastBlock().layout()->lineCount() > 1); // wrapped anew
        QVERIFY2(misplaced().isEmpty(), qPrintable(misplaced()));
        box.setFont(japaneseFont(2 * kTextPixels));
        QVERIFY2(misplaced().isEmpty(), qPrintable(misplaced()));

        // Asking for a block's size leaves its lines where they are.
        QTextLine first = box.document()->lastBlock().layout()->lineAt(0);
        first.setPosition(QPointF(0, 0));
        box.document()->documentLayout()->blockBoundingRect(box.document()->lastBlock());
        QCOMPARE(first.position(), QPointF(0, 0));
    }
};

QTEST_MAIN(FitTest)
#include "view_fit_test.moc"
