// Shared set-up for host tests: a fresh simulated desktop per test, and
// file helpers that go through the same drive mapping as the program.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/sim/sim.h"

namespace pallix::testing {

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

inline void WriteFile(std::string_view windows_path, std::string_view bytes) {
  std::ofstream out(sim::HostPath(windows_path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(std::string_view windows_path) {
  std::ifstream in(sim::HostPath(windows_path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pallix::testing
