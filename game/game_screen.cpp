#include "game/game_screen.h"

#include "app/navigator.h"

namespace quillory {

namespace {

// Until the game is built: the screen and its way back.
class GameScreen : public Screen {
public:
    explicit GameScreen(Navigator& navigator)
        : Screen(navigator, "Form17", "THE LANTERN ROAD", 7155, 4305, {255, 128, 128})
    {
        add(makePicture("P1", {240, 0, 3135, 2295}));
        add(makeButton("Command3", "終　　了", {5280, 960, 1455, 495}));
        add(makeText("T1", {240, 2400, 6615, 1815}, false));
    }

    std::optional<int> step() const override { return 0; }

protected:
    void onClick(std::string_view control) override
    {
        if (control == "Command3") {
            navigator().showForm("Form20");
            navigator().hideForm("Form17");
        }
    }
};

} // namespace

std::unique_ptr<Screen> makeGameScreen(Navigator& navigator)
{
    return std::make_unique<GameScreen>(navigator);
}

std::vector<std::string> checkGameScript(const std::vector<std::string>&)
{
    return {};
}

} // namespace quillory
