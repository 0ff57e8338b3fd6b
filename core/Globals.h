// Process-wide state of the program: the radio memory image and the shared
// globals that every window reads. There is no other document. Each is
// written in one place only: the image by ImageChanges, what the user chose
// beside it by SessionState.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The radio memory image. Cell (r, c), r = 0..255, c = 0..15, is the radio
// byte at address 16 * r + c; 255 means erased. The extra rows and columns
// are never used but keep the table's historical shape.
constexpr int ImageRows = 301;
constexpr int ImageColumns = 33;
constexpr int UsedRows = 256;
constexpr int BlockSize = 16;
using ImageTable = std::array<std::array<int16_t, ImageColumns>, ImageRows>;
// The program's image: read anywhere, written only through ImageChanges.
// The command-line tool works on images of its own.
extern const ImageTable &RadioData;

// Fixed rows and sizes of the memory map.
constexpr int VfoRow = 0;
constexpr int BandLimitRow = 153;
constexpr int FmRowFirst = 154;
constexpr int FmPresetCount = 25;
constexpr int NameRowFirst = 160;
constexpr int NameRowLast = 199;
constexpr int NameLength = 5;
constexpr int NameAreaSize = 640;
constexpr int OptionRow = 208;
constexpr int PasswordRow = 209;
constexpr int ChannelMapRow = 210;
constexpr int IdentRow = 212;
constexpr int CalibrationRow = 240;
constexpr int ReadBlockCount = 254;
constexpr int WriteBlockCount = 240;
constexpr int ErasedByte = 255;

// CurrentChannel, ModelIndex, BandLowMHz, BandHighMHz, PortNumber and
// IsChinese are read here and written through SessionState, which announces
// each change.
constexpr int ChannelCount = 128;
extern const int16_t &CurrentChannel; // channel edited by the grid and the edit window
extern const int16_t &ModelIndex; // selected model 0..6
constexpr int ModelCount = 7;
inline const std::array<QString, ModelCount> ModelNames{
    QStringLiteral("QL540 UHF"), QStringLiteral("QL540 VHF"), QStringLiteral("VM90 UHF1"),
    QStringLiteral("VM90 UHF2"), QStringLiteral("VM90 UHF3"), QStringLiteral("VM90 UHF4"),
    QStringLiteral("VM90 FULL")};
// m: lower, m + 7: upper limit of model m in MHz (the upper ones rounded
// from 470.0005, 174.0005, 174.9875, 246.9875, 390.9875, 520.9875, 600.9875).
constexpr std::array<int16_t, 2 * ModelCount> BandTable{400, 136, 136, 244, 350, 450, 100,
                                                        470, 174, 175, 247, 391, 521, 601};
extern const double &BandLowMHz; // the band every frequency check uses
extern const double &BandHighMHz;

// Tone display strings, entries 0..264 used: off, the CTCSS tones, the DCS
// codes normal and inverted, with the blanks the lists show. The last
// position of each kind of tone in them follows.
extern const std::array<QString, 301> ToneList;
constexpr int ToneCtcssLast = 50;
constexpr int ToneDcsNormalLast = 157;
constexpr int ToneDcsInvertLast = 264;

extern const bool &IsChinese; // interface language: true = Chinese
extern const int16_t &PortNumber; // serial port 1..8
inline const QString VersionText = QStringLiteral("Ver1.2");
extern bool PortErrorFlag; // last attempt to open the port failed

// Puts every global back into its start-up state: the default image (the
// cells beyond the used ones zero), Chinese, channel 1, port 1, the first
// model and the band of the image. The main window's start-up sequence, the
// command-line tool and the tests use it.
void ResetGlobals();
