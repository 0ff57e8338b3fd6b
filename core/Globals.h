// Process-wide state of the program: the radio memory image and the shared
// globals that every window reads and writes. There is no other document.
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
extern ImageTable RadioData;

// Working copy of the 640 name bytes (rows 160..199), see NameArea helpers.
extern std::array<int16_t, 1001> NameCodes;

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

// CurrentChannel, ModelIndex, BandLowMHz, BandHighMHz and PortNumber are
// read here and written through SessionState, which announces each change.
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

// Tone display strings, entries 0..264 used (see BuildToneList), and the
// last position of each kind of tone in them.
extern std::array<QString, 301> ToneList;
constexpr int ToneCtcssLast = 50;
constexpr int ToneDcsNormalLast = 157;
constexpr int ToneDcsInvertLast = 264;

extern bool IsChinese; // interface language: true = Chinese
extern const int16_t &PortNumber; // serial port 1..8
inline const QString VersionText = QStringLiteral("Ver1.2");
extern bool PortErrorFlag; // last attempt to open the port failed

// Puts every global back into its start-up state: zero-filled image, then
// the band of the first model, tone list and default image, Chinese, port 1. The main
// window's start-up sequence and the tests use it.
void ResetGlobals();
