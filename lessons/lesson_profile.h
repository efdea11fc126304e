// What sets one lesson screen apart from the others.
#pragma once

#include "lessons/lesson_script.h"
#include "ui/control.h"

#include <string>
#include <vector>

namespace quillory {

struct LessonProfile {
    std::string screen; // "Form3" .. "Form16"
    std::string caption;
    Rgb background;
    std::string talkCaption;    // "話す/ 質問する" or "話す / 質問する"
    std::string backCaption;    // "終　　　　　了" or "メニューに戻る"
    std::string pictureControl; // "Picture1" or "P1"
    int textHeight = 1695;
    std::vector<int> choiceLefts; // one per answer button
    std::string teacherPicture;
    std::string greeting;            // shown at creation
    std::string greetingAfterBack{}; // shown after each Back; empty: the greeting
    std::string backTo;              // way-back screen
    int backResetsFrom = 1;          // Back sets StepNo to 0 only from this value up
    const LessonScript& (*script)() = nullptr;

    int choiceCount() const { return static_cast<int>(choiceLefts.size()); }
    const std::string& afterBack() const
    {
        return greetingAfterBack.empty() ? greeting : greetingAfterBack;
    }
};

// The fourteen lessons, Form3 to Form16 in order.
const std::vector<LessonProfile>& lessonProfiles();
const LessonProfile* lessonProfile(const std::string& screen);

} // namespace quillory
