// Samples and installations that install_fixtures.py writes before the
// tests run (with_installs.sh), and small readers of what they hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace twtest {

// The bytes of ad record sample `name` (AD_RECORDS\name.bin).
std::string RecordBytes(const std::string& name);
std::string RecordPath(const std::string& name);
// The ads folder of the samples, holding ad 77's cached files.
std::string SampleAds();
// The folder of installation `name` (TW_INSTALLS\name), with backslashes.
std::string InstallRoot(const std::string& name);

std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
// Little-endian words as bytes.
std::string Words(std::initializer_list<std::uint32_t> words);

}  // namespace twtest
