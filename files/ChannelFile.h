// The ".chann" channel file: the whole radio image as plain text, 256 lines
// of 16 byte values. The open and save windows, the command-line tool and
// the radio simulator all go through these routines.
#pragma once

#include "Globals.h"
#include "Language.h"

#include <QByteArray>
#include <QString>

constexpr int ChannelFileValueCount = UsedRows * BlockSize; // 4096
// A real file is about 21 kB; anything this big is not one of ours and is
// refused before it is read into memory.
constexpr qint64 ChannelFileSizeLimit = 1024 * 1024;

// Why a file could not be read or written, in both languages, naming the
// place in the file (1-based line and character position) where it applies.
struct ChannelFileError {
    enum class Kind {
        None,
        CannotOpen,
        TooLarge,
        TooFewNumbers,
        NotANumber,
        OutOfRange,
        MissingValue,
        CannotWrite,
        FolderRefusesTemporaryFile,
    };
    Kind kind = Kind::None;
    int line = 0; // 0 when the error is not about one place
    int position = 0;
    BilingualText message;
};

// The file text of rows 0..255, columns 0..15: every value framed by blanks
// (a negative one takes the leading blank's place with "-"), CRLF line ends.
QByteArray FormatChannelFile(const ImageTable &image);

// Reads 4096 values 0..255 separated by blanks, commas or line ends; values
// after the 4096th are ignored. The image is changed only when the whole
// text is good, and then only rows 0..255, columns 0..15.
bool ParseChannelFile(const QByteArray &text, ImageTable &image, ChannelFileError *error);

bool ReadChannelFile(const QString &path, ImageTable &image, ChannelFileError *error);
// Replaces the file only once all of it has been written, through a
// temporary file beside it; where none can be made nothing is written.
bool WriteChannelFile(const QString &path, const ImageTable &image, ChannelFileError *error);
// Whether a write to this path could succeed, asked before a long read.
bool CanWriteChannelFile(const QString &path, ChannelFileError *error);

// Text for a message: control characters shown as \x1b and the like, so
// that nothing from a file cuts a message short or reaches a terminal raw.
QString PrintableText(const QString &text);
// The same for raw bytes; bytes that are no printable UTF-8 are escaped.
QString PrintableBytes(const QByteArray &bytes);
