// What every subcommand of the command-line tool shares: exit codes, the
// language option, and printing in the user's language.
#pragma once

#include "Globals.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <memory>

class QCommandLineParser;

// 0 success, 1 the radio or the port failed, 2 the arguments or a file were
// bad, 3 a verify or a comparison found differences, 4 an import applied
// only part of a file. Scripts branch on these.
enum ExitCode {
    ExitSuccess = 0,
    ExitLinkFailure = 1,
    ExitBadInput = 2,
    ExitDifferent = 3,
    ExitPartial = 4
};

// Puts the program's globals into their start-up state and the language of
// "--lang" (English unless "zh"). Every subcommand starts with it.
void StartUp(bool chinese);

// Looks for "--lang" before the real parse, so that even the help texts and
// the parser's own errors come out in the chosen language. Returns false for
// an unknown language (message printed).
bool LanguageFromArguments(const QStringList &arguments, bool &chinese);

// The language a subcommand's arguments ask for (true: Chinese).
bool Chinese(const QStringList &arguments);

// Adds --help and --lang to a subcommand's parser.
void AddCommonOptions(QCommandLineParser &parser);

// Parses a subcommand's arguments. Returns -1 to go on, otherwise the exit
// code to end with (0 after --help, 2 after an error, message printed).
int ParseCommand(QCommandLineParser &parser, const QStringList &arguments, const QString &command);
// The same for a subcommand that takes options only: an argument besides
// them is an error.
int ParseOptionsOnly(QCommandLineParser &parser, const QStringList &arguments,
                     const QString &command);

// Prints a line on standard output or standard error, in UTF-8.
void PrintOut(const QString &text);
void PrintError(const QString &text);
// An argument error: the message and where to find help; returns 2.
int ArgumentError(const QString &message, const QString &command);

// Options several subcommands share.
QCommandLineOption PortOption();
// A command that takes --port and one channel file: -1 when both are
// given, otherwise the exit code after the message.
int PortAndFileError(const QCommandLineParser &parser, const QCommandLineOption &port,
                     const QString &command);
QCommandLineOption QuietOption();

// The image a command works on, as the program starts with it. The
// command-line tool keeps its images to itself and leaves RadioData alone.
std::unique_ptr<ImageTable> StartImage();
// Reads a channel file into the image; false (message printed) when it
// cannot be read or is not a channel file.
bool LoadFile(const QString &path, ImageTable &image);

// Why a channel file cannot be saved at path (a folder, a missing folder,
// no room for the temporary file beside it); empty when it can. Commands
// ask before work that takes a while or that would be lost.
QString OutputProblem(const QString &path);
