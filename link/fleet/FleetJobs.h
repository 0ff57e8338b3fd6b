// The jobs a run over several ports does, built once for the console and
// the window alike: write a prepared image (and read it back to check it),
// or check radios against a file.
#pragma once

#include "PortStation.h"
#include "WriteExchange.h"

#include <memory>

// Every radio gets these blocks; with verify, each is then read back and
// compared with them, and differs (PortOutcome::Different) when it does not
// hold them.
PortJob WriteJob(std::shared_ptr<const WriteBlocks> blocks, bool verify);
// Each radio's blocks 0..239 compared with expected (prepared as a write
// prepares it).
PortJob VerifyJob(std::shared_ptr<const ImageTable> expected);
