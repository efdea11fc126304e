// The picture files built from the artwork sources, by bare file name.
#pragma once

#include <string>
#include <vector>

namespace quillory {

const std::vector<std::string>& pictureAssets();

} // namespace quillory
