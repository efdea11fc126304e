#include "ui/qt/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>

namespace quillory {

namespace {

const char* const kFilter = "Quillory の記録 (*.txt);;すべてのファイル (*)";

QString documents()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

} // namespace

void FileDialogs::save(const std::string& suggestedName, const std::string& contents, Saved done)
{
    const QString name = QFileDialog::getSaveFileName(
        parent_, QStringLiteral("記録を書き出す"),
        QDir(documents()).filePath(QString::fromStdString(suggestedName)),
        QString::fromUtf8(kFilter));
    if (name.isEmpty())
        return done(FileOutcome::Cancelled);
    // Written beside the file, then put in its place: a failure leaves any file
    // there before as it was.
    QSaveFile file(name);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(contents.data(), static_cast<qint64>(contents.size())) ==
                             static_cast<qint64>(contents.size()) &&
                         file.commit();
    done(written ? FileOutcome::Done : FileOutcome::Failed);
}

void FileDialogs::open(std::size_t limit, Opened done)
{
    const QString name = QFileDialog::getOpenFileName(parent_, QStringLiteral("記録を読み込む"),
                                                      documents(), QString::fromUtf8(kFilter));
    if (name.isEmpty())
        return done(FileOutcome::Cancelled, {});
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return done(FileOutcome::Failed, {});
    // Never more than one byte past the limit, whatever the file's size.
    const QByteArray bytes = file.read(static_cast<qint64>(limit) + 1);
    if (file.error() != QFileDevice::NoError)
        return done(FileOutcome::Failed, {});
    done(FileOutcome::Done, bytes.toStdString());
}

} // namespace quillory
