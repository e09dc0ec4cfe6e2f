// The module registers the grid's messages when it loads; the tests do it
// once here. A dialog left open ends after five idle seconds.
#include <gtest/gtest.h>

#include <zrui/testing.h>

#include "controls/ListView/EditMessages.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ListView::RegisterMessages();
  zrui::SetModalIdleTimeout(std::chrono::seconds(5));
  return RUN_ALL_TESTS();
}
