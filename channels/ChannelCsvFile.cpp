#include "ChannelCsvFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

BilingualText Failure(const char *chinese, const char *english, const QString &path,
                      const QString &why)
{
    return Bilingual(chinese, english).arg(QDir::toNativeSeparators(path), why);
}

} // namespace

bool ReadChannelCsvFile(const QString &path, QByteArray &text, BilingualText *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = Failure("无法打开 %1：%2", "Cannot open %1: %2", path, file.errorString());
        return false;
    }
    if (file.size() > ChannelCsvSizeLimit) {
        if (error)
            *error = Failure("%1 太大，不是信道列表%2", "%1 is too large to be a channel list%2",
                             path, QString());
        return false;
    }
    text = file.readAll();
    return true;
}

bool WriteChannelCsvFile(const QString &path, const QByteArray &text, BilingualText *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = Failure("无法写入 %1：%2", "Cannot write %1: %2", path, file.errorString());
        return false;
    }
    return true;
}
