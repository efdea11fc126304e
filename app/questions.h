// A question as the learner met it, found again in the script tables: what the
// box said when it was put, its picture, its answer buttons, each answer's
// feedback and which answer is right.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillory {

struct AskedQuestion {
    std::string screen;
    int step = 0;        // the step at which its answer buttons act
    std::string caption; // of the screen it came from
    std::string text;
    std::string picture; // empty: none but the teacher's or the scene's usual one
    std::vector<std::string> captions;
    std::vector<std::string> feedback;
    std::optional<int> right; // 0: every answer is right
};

// The question awaited at `step` on a lesson, the quiz or the game; none when
// the script has no question there.
std::optional<AskedQuestion> askedQuestion(const std::string& screen, int step);

} // namespace quillory
