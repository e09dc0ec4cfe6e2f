// The module registers the grid's messages when it loads; the tests do it
// once here. A dialog left open ends after five idle seconds. The grid is
// laid out on character cells, as zrhost and the terminal show it.
#include <gtest/gtest.h>

#include <zrui/metrics.h>
#include <zrui/testing.h>

#include "controls/ListView/EditMessages.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  zrui::SetMetricsProfile(zrui::MetricsProfile::Text);
  ListView::RegisterMessages();
  zrui::SetModalIdleTimeout(std::chrono::seconds(5));
  return RUN_ALL_TESTS();
}
