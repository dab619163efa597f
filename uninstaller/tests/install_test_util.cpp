#include "install_test_util.h"

#include "fw/file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace twtest {

namespace {
std::string FromEnv(const char* name) {
    const char* value = std::getenv(name);
    EXPECT_NE(value, nullptr) << "run through with_installs.sh";
    std::string path = value ? value : "";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
}  // namespace

std::string RecordPath(const std::string& name) {
    return FromEnv("AD_RECORDS") + "\\" + name + ".bin";
}

std::string RecordBytes(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(fw::ReadWholeFile(RecordPath(name), bytes)) << name;
    return bytes;
}

std::string SampleAds() {
    return FromEnv("AD_RECORDS") + "\\Ads";
}

std::string InstallRoot(const std::string& name) {
    return FromEnv("TW_INSTALLS") + "\\" + name;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    fw::ReadWholeFile(path, bytes);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    return fw::WriteWholeFile(path, bytes);
}

std::string Words(std::initializer_list<std::uint32_t> words) {
    std::string out;
    for (std::uint32_t w : words)
        for (int i = 0; i < 4; ++i) out += static_cast<char>((w >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace twtest
