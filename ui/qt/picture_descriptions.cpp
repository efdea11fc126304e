#include "ui/qt/picture_descriptions.h"

#include "ui/picture_descriptions.h"

namespace quillory {

PictureText pictureText(const QString& file)
{
    const PictureDescription picture = describePicture(file.toStdString());
    return {QString::fromStdString(picture.name), QString::fromStdString(picture.description)};
}

} // namespace quillory
