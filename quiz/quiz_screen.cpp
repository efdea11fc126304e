#include "quiz/quiz_screen.h"

#include "app/navigator.h"

namespace quillory {

namespace {

// Until the quiz is built: the screen and its way back.
class QuizScreen : public Screen {
public:
    explicit QuizScreen(Navigator& navigator)
        : Screen(navigator, "Form18", "怒濤の文型当て問題", 7155, 4305, {255, 192, 192})
    {
        add(makeText("T1", {240, 1680, 6735, 1095}, false));
        add(makeButton("Command7", "終了 （ メニューに戻る）", {3840, 3600, 2535, 495}));
    }

    std::optional<int> step() const override { return 1; }

protected:
    void onClick(std::string_view control) override
    {
        if (control == "Command7") {
            navigator().showForm("Form20");
            navigator().hideForm("Form18");
        }
    }
};

} // namespace

std::unique_ptr<Screen> makeQuizScreen(Navigator& navigator)
{
    return std::make_unique<QuizScreen>(navigator);
}

} // namespace quillory
