#include "ChannelFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

void Fail(ChannelFileError *error, ChannelFileError::Kind kind, int line, int position,
          const QString &chinese, const QString &english)
{
    if (!error)
        return;
    error->kind = kind;
    error->line = line;
    error->position = position;
    error->chinese = chinese;
    error->english = english;
}

// Shown inside a message; keeps a run of binary garbage from flooding it.
QString Quoted(const QByteArray &token)
{
    const QByteArray shown = token.size() > 16 ? token.left(16) + "..." : token;
    return QString::fromUtf8(shown);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// A whole number with an optional sign; false for anything else. Values
// beyond int range come back as 256 so that they count as out of range.
bool TokenValue(const QByteArray &token, int &value)
{
    int i = 0;
    bool negative = false;
    if (token.startsWith('+') || token.startsWith('-')) {
        negative = token.startsWith('-');
        i = 1;
    }
    if (i == token.size())
        return false;
    long long v = 0;
    for (; i < token.size(); ++i) {
        const char c = token.at(i);
        if (c < '0' || c > '9')
            return false;
        v = std::min<long long>(v * 10 + (c - '0'), 1000000);
    }
    value = int(negative ? -v : v);
    if (value > 255)
        value = 256;
    return true;
}

QString Native(const QString &path) { return QDir::toNativeSeparators(path); }

void FailTooLarge(ChannelFileError *error, qint64 bytes)
{
    Fail(error, ChannelFileError::Kind::TooLarge, 0, 0,
         QStringLiteral("文件太大（%1 字节），不是信道参数文件。").arg(bytes),
         QStringLiteral("The file is too large (%1 bytes) to be a channel parameter file.")
             .arg(bytes));
}

} // namespace

QByteArray FormatChannelFile(const ImageTable &image)
{
    QByteArray text;
    text.reserve(UsedRows * (BlockSize * 5 + 2));
    for (int r = 0; r < UsedRows; ++r) {
        for (int c = 0; c < BlockSize; ++c) {
            const int v = image[r][c];
            text += v < 0 ? '-' : ' ';
            text += QByteArray::number(v < 0 ? -v : v);
            text += ' ';
        }
        text += "\r\n";
    }
    return text;
}

bool ParseChannelFile(const QByteArray &text, ImageTable &image, ChannelFileError *error)
{
    using Kind = ChannelFileError::Kind;
    if (text.size() > ChannelFileSizeLimit) {
        FailTooLarge(error, text.size());
        return false;
    }

    std::array<int16_t, ChannelFileValueCount> values{};
    int count = 0;
    int line = 1;
    int position = 1;
    bool valueSinceComma = false;
    qsizetype i = text.startsWith("\xEF\xBB\xBF") ? 3 : 0; // editors may add a BOM
    while (i < text.size() && count < ChannelFileValueCount) {
        const char c = text.at(i);
        if (IsBlank(c)) {
            ++i;
            ++position;
        } else if (IsLineEnd(c)) {
            // CRLF, LF and a lone CR each end one line.
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
            ++i;
            ++line;
            position = 1;
        } else if (c == ',') {
            if (!valueSinceComma) {
                Fail(error, Kind::MissingValue, line, position,
                     QStringLiteral("第 %1 行第 %2 个字符处的逗号前缺少数值。")
                         .arg(line)
                         .arg(position),
                     QStringLiteral("Line %1, position %2: a value is missing before this comma.")
                         .arg(line)
                         .arg(position));
                return false;
            }
            valueSinceComma = false;
            ++i;
            ++position;
        } else {
            const qsizetype start = i;
            while (i < text.size() && !IsBlank(text.at(i)) && !IsLineEnd(text.at(i)) &&
                   text.at(i) != ',')
                ++i;
            const QByteArray token = text.mid(start, i - start);
            int value = 0;
            if (!TokenValue(token, value)) {
                Fail(error, Kind::NotANumber, line, position,
                     QStringLiteral("第 %1 行第 %2 个字符处的“%3”不是数值。")
                         .arg(line)
                         .arg(position)
                         .arg(Quoted(token)),
                     QStringLiteral("Line %1, position %2: \"%3\" is not a number.")
                         .arg(line)
                         .arg(position)
                         .arg(Quoted(token)));
                return false;
            }
            if (value < 0 || value > 255) {
                Fail(error, Kind::OutOfRange, line, position,
                     QStringLiteral("第 %1 行第 %2 个字符处的数值 %3 超出 0～255 的范围。")
                         .arg(line)
                         .arg(position)
                         .arg(Quoted(token)),
                     QStringLiteral("Line %1, position %2: the value %3 is outside 0..255.")
                         .arg(line)
                         .arg(position)
                         .arg(Quoted(token)));
                return false;
            }
            values[count++] = int16_t(value);
            valueSinceComma = true;
            position += int(token.size());
        }
    }
    if (count < ChannelFileValueCount) {
        Fail(error, Kind::TooFewNumbers, line, position,
             QStringLiteral("第 %1 行第 %2 个字符处文件已结束，只有 %3 个数值，需要 %4 个。")
                 .arg(line)
                 .arg(position)
                 .arg(count)
                 .arg(ChannelFileValueCount),
             QStringLiteral("Line %1, position %2: the file ends after only %3 numbers; %4 "
                            "are needed.")
                 .arg(line)
                 .arg(position)
                 .arg(count)
                 .arg(ChannelFileValueCount));
        return false;
    }

    for (int k = 0; k < ChannelFileValueCount; ++k)
        image[k / BlockSize][k % BlockSize] = values[k];
    if (error)
        *error = ChannelFileError();
    return true;
}

bool ReadChannelFile(const QString &path, ImageTable &image, ChannelFileError *error)
{
    using Kind = ChannelFileError::Kind;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, Kind::CannotOpen, 0, 0,
             QStringLiteral("无法打开文件 %1：%2").arg(Native(path), file.errorString()),
             QStringLiteral("Cannot open the file %1: %2").arg(Native(path), file.errorString()));
        return false;
    }
    // Read one byte past the limit, so that devices and pipes without a
    // size are refused as well without being read to their end.
    const QByteArray text = file.read(ChannelFileSizeLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        Fail(error, Kind::CannotOpen, 0, 0,
             QStringLiteral("无法读取文件 %1：%2").arg(Native(path), file.errorString()),
             QStringLiteral("Cannot read the file %1: %2").arg(Native(path), file.errorString()));
        return false;
    }
    // Only the start of a large file was read: name its real size.
    if (text.size() > ChannelFileSizeLimit) {
        FailTooLarge(error, std::max<qint64>(file.size(), text.size()));
        return false;
    }
    return ParseChannelFile(text, image, error);
}

bool WriteChannelFile(const QString &path, const ImageTable &image, ChannelFileError *error)
{
    QSaveFile file(path);
    // Where no temporary file can be made next to it, write in place.
    file.setDirectWriteFallback(true);
    const QByteArray text = FormatChannelFile(image);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        Fail(error, ChannelFileError::Kind::CannotWrite, 0, 0,
             QStringLiteral("无法写入文件 %1：%2").arg(Native(path), file.errorString()),
             QStringLiteral("Cannot write the file %1: %2").arg(Native(path), file.errorString()));
        return false;
    }
    if (error)
        *error = ChannelFileError();
    return true;
}
