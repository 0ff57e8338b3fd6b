// The CSV channel list import against any bytes: every row is either a
// channel or refused with a reason; the plan places channels on 1..128,
// each once; applying it touches nothing but those channels and their
// names; and what it stored exports and imports back unchanged.
#include "ChannelCsv.h"
#include "FuzzCheck.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <QSet>
#include <cstdint>
#include <memory>

namespace {

constexpr FrequencyBand Band{400, 470};

const ImageTable &StartImage()
{
    static const std::unique_ptr<ImageTable> image = [] {
        ResetGlobals(); // tone list and the default image
        SessionState::instance().setChinese(false);
        return std::make_unique<ImageTable>(RadioData);
    }();
    return *image;
}

bool IsNameCellOf(int row, int column, const QSet<int> &channels)
{
    if (row < NameRowFirst || row > NameRowLast)
        return false;
    const int channel = ((row - NameRowFirst) * BlockSize + column) / NameLength + 1;
    return channels.contains(channel);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ImageTable &start = StartImage();
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const CsvFile file = ParseChannelCsv(text, Band);
    if (file.error) {
        FUZZ_CHECK(file.rows.isEmpty(), "a refused file has rows");
        FUZZ_CHECK(!file.error->english.isEmpty() && !file.error->chinese.isEmpty(),
                   "a refusal without a message");
        return 0;
    }
    for (const CsvRow &row : file.rows) {
        const bool refused =
            std::any_of(row.issues.begin(), row.issues.end(), [](const CsvIssue &issue) {
                return issue.kind == CsvIssue::Kind::Refused;
            });
        FUZZ_CHECK(refused != row.channel.has_value(), "a row neither stored nor refused, or both");
    }
    for (const auto mode : {CsvPlacement::Mode::FileNumbers, CsvPlacement::Mode::FileOrder,
                            CsvPlacement::Mode::Relative}) {
        const CsvImportPlan plan = PlanCsvImport(file, {mode, 3});
        FUZZ_CHECK(plan.placed.size() + plan.refusedCount == plan.rowCount,
                   "rows lost by the plan");
        QSet<int> channels;
        for (const auto &placed : plan.placed) {
            FUZZ_CHECK(placed.channel >= 1 && placed.channel <= 128, "a channel outside 1..128");
            FUZZ_CHECK(!channels.contains(placed.channel), "a channel placed twice");
            channels.insert(placed.channel);
        }
        auto image = std::make_unique<ImageTable>(start);
        ApplyCsvImport(*image, plan);
        for (int r = 0; r < ImageRows; ++r)
            for (int c = 0; c < ImageColumns; ++c) {
                const bool ours =
                    (c < BlockSize && channels.contains(r)) || IsNameCellOf(r, c, channels);
                if (!ours)
                    FUZZ_CHECK((*image)[r][c] == start[r][c],
                               "a cell outside the imported channels changed");
                else
                    FUZZ_CHECK((*image)[r][c] >= 0 && (*image)[r][c] <= 255,
                               "a stored value outside 0..255");
            }
        for (int n : channels) {
            FUZZ_CHECK(InsideBand(Record::RxMHz(*image, n), Band),
                       "a receive frequency outside the band");
            FUZZ_CHECK(TransmitInsideBand(*image, n, Band),
                       "a transmit frequency outside the band");
        }

        // What was stored goes out and comes back exactly.
        const CsvImportPlan again =
            PlanCsvImport(ParseChannelCsv(ExportChannelCsv(*image), Band), {});
        FUZZ_CHECK(again.report.isEmpty(), "an exported channel was changed or refused on import");
        auto back = std::make_unique<ImageTable>(*image);
        ApplyCsvImport(*back, again);
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                FUZZ_CHECK((*back)[r][c] == (*image)[r][c], "export then import changed a cell");
    }
    return 0;
}
