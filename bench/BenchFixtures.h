#pragma once
// Card folders and records for the benchmarks, made on the fly.

#include <chrono>
#include <string>
#include <vector>

#include "contacts/ContactRecord.h"

namespace ab::bench {

// A bottom-up 24-bit BMP file image of about `bytes` bytes.
ByteBuffer MakeBmp(int bytes);
// A PCM WAVE file image of about `bytes` bytes.
ByteBuffer MakeWave(int bytes);

// A record with names, e-mail, telephones and an address; with the
// attachments when `withMedia` is set (a 40 KB photo and a 20 KB clip).
void FillSampleRecord(ContactRecord& record, int index, bool withMedia);

// A new temporary folder (removed by RemoveFolder).
std::string MakeTempFolder();
void RemoveFolder(const std::string& folder);

// `count` card files written into `folder`.
void WriteCards(const std::string& folder, int count, bool withMedia);

// Runs `program` with `args`, its output thrown away, in this process's
// environment extended by `extraEnv` ("NAME=value"); its exit code, or -1
// when it could not start or did not exit. `peakKB` receives its largest
// resident size; `firstLine`, when given, the moment its output's first line
// came (its output is read then, not thrown away).
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& extraEnv = {}, long* peakKB = nullptr,
               std::chrono::steady_clock::time_point* firstLine = nullptr);

}  // namespace ab::bench
