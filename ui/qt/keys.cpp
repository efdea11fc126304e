#include "ui/qt/keys.h"

#include "lessons/lesson_profile.h"

namespace quillory {

namespace {

enum class Kind { Title, Menu, Explanation, Lesson, Game, Quiz };

Kind kindOf(const Screen& screen)
{
    const std::string& name = screen.name();
    if (name == "Form1")
        return Kind::Title;
    if (name == "Form2")
        return Kind::Explanation;
    if (name == "Form17")
        return Kind::Game;
    if (name == "Form18")
        return Kind::Quiz;
    if (lessonProfile(name) != nullptr)
        return Kind::Lesson;
    return Kind::Menu;
}

// The number of answer buttons, Command4 on.
int answerCount(const Screen& screen)
{
    if (const LessonProfile* profile = lessonProfile(screen.name()))
        return profile->choiceCount();
    return 4;
}

std::string command(int n)
{
    return "Command" + std::to_string(n);
}

const QString kReturn = QStringLiteral("Enter");
const QString kEscape = QStringLiteral("Esc");

} // namespace

std::string keyTarget(const Screen& screen, int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return {};
    const Kind kind = kindOf(screen);
    const bool digit = key >= Qt::Key_1 && key <= Qt::Key_5;
    const int number = key - Qt::Key_0;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    switch (kind) {
    case Kind::Title:
        return enter ? "C1" : "";
    case Kind::Menu:
        return {};
    case Kind::Explanation:
        return key == Qt::Key_Escape ? "Command1" : "";
    case Kind::Quiz:
        if (digit)
            return command(number);
        return key == Qt::Key_Escape ? "Command7" : "";
    case Kind::Lesson:
    case Kind::Game:
        if (digit)
            return number <= answerCount(screen) ? command(3 + number) : "";
        if (enter)
            return screen.step().value_or(0) % 2 == 0 ? "Command1" : "Command2";
        return key == Qt::Key_Escape ? "Command3" : "";
    }
    return {};
}

QString keyHint(const Screen& screen, const std::string& button)
{
    const Kind kind = kindOf(screen);
    switch (kind) {
    case Kind::Title:
        return button == "C1" ? kReturn : QString();
    case Kind::Menu:
        return {};
    case Kind::Explanation:
        return button == "Command1" ? kEscape : QString();
    case Kind::Quiz:
        for (int k = 1; k <= 5; ++k) {
            if (button == command(k))
                return QString::number(k);
        }
        return button == "Command7" ? kEscape : QString();
    case Kind::Lesson:
    case Kind::Game:
        for (int k = 1; k <= answerCount(screen); ++k) {
            if (button == command(3 + k))
                return QString::number(k);
        }
        if (button == "Command1" || button == "Command2")
            return kReturn;
        return button == "Command3" ? kEscape : QString();
    }
    return {};
}

bool hasTextActions(const Screen& screen)
{
    const Kind kind = kindOf(screen);
    return kind == Kind::Lesson || kind == Kind::Game || kind == Kind::Quiz;
}

TextAction textAction(const Screen& screen, int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier || !hasTextActions(screen))
        return TextAction::None;
    if (key == Qt::Key_R)
        return TextAction::ReadAloud;
    if (key == Qt::Key_H)
        return TextAction::History;
    return TextAction::None;
}

QString readAloudEntry()
{
    return QStringLiteral("英文を読み上げる");
}

QString historyEntry()
{
    return QStringLiteral("会話の履歴");
}

QString textBoxHint()
{
    return QStringLiteral("キー：R ") + readAloudEntry() +
           QStringLiteral("（もう一度で止める）、H ") + historyEntry() +
           QStringLiteral("（右クリックのメニューにもあります）");
}

} // namespace quillory
