#include "FleetJobs.h"

#include "VerifyExchange.h"

namespace {

// What a verify read, compared with what the radio should hold.
PortStep CompareStep(std::shared_ptr<const ImageTable> expected)
{
    PortStep step;
    step.exchange = [] { return std::make_unique<VerifyExchange>(); };
    step.completed = [expected](LinkExchange &exchange, PortRecord &record) {
        const ImageTable radio = VerifiedRows(static_cast<VerifyExchange &>(exchange).blocks());
        record.differences = DiffImages(*expected, radio, 0, WriteBlockCount - 1);
        if (!record.differences.isEmpty())
            record.outcome = PortOutcome::Different;
    };
    return step;
}

} // namespace

PortJob WriteJob(std::shared_ptr<const WriteBlocks> blocks, bool verify)
{
    PortJob job;
    job.task = PortTask::Write;
    job.transfer.exchange = [blocks] {
        return std::make_unique<WriteExchange>(
            [blocks](WriteBlocks &out) -> std::optional<BilingualText> {
                out = *blocks;
                return std::nullopt;
            });
    };
    if (verify)
        job.verify = CompareStep(std::make_shared<ImageTable>(WrittenRows(*blocks)));
    return job;
}

PortJob VerifyJob(std::shared_ptr<const ImageTable> expected)
{
    PortJob job;
    job.task = PortTask::Verify;
    job.transfer = CompareStep(std::move(expected));
    return job;
}
