// Test entry point: a modal dialog that a test forgets to close ends after a
// few seconds instead of hanging the suite.
#include <gtest/gtest.h>

#include "zrui/testing.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  zrui::SetModalIdleTimeout(std::chrono::seconds(5));
  return RUN_ALL_TESTS();
}
