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

extern int16_t ChannelCount; // always 128
extern int16_t CurrentChannel; // channel edited by the grid and the edit window
extern int16_t ModelIndex; // selected model 0..6
extern std::array<QString, 7> ModelNames;
extern std::array<int16_t, 14> BandTable; // m: lower, m + 7: upper limit of model m
extern double BandLowMHz;
extern double BandHighMHz;

// Tone display strings, entries 0..264 used (see BuildToneList).
extern std::array<QString, 301> ToneList;
extern int16_t ToneCtcssLast;
extern int16_t ToneDcsNormalLast;
extern int16_t ToneDcsInvertLast;

extern bool IsChinese; // interface language: true = Chinese
extern int16_t PortNumber; // serial port 1..8
extern QString VersionText; // "Ver1.2"
extern bool PortErrorFlag; // last attempt to open the port failed

// Puts every global back into its start-up state: zero-filled image, then
// the model table, tone list and default image, Chinese, port 1. The main
// window's start-up sequence and the tests use it.
void ResetGlobals();
