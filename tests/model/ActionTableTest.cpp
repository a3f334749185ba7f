#include <gtest/gtest.h>

#include <stdexcept>

#include "model/ActionTable.h"
#include "model/ControlIds.h"

namespace orva {
namespace {

TEST(ActionTable, ASecondHandlerForOneActionIsRefusedAndTheFirstStays) {
    ActionTable actions;
    int refreshed = 0;
    actions.on(ActionKind::Click, ids::main::kRefresh, [&](const UserAction&) { ++refreshed; });
    EXPECT_THROW(actions.on(ActionKind::Click, ids::main::kRefresh, [](const UserAction&) {}),
                 std::logic_error);
    EXPECT_TRUE(actions.dispatch({ActionKind::Click, ids::main::kRefresh}));
    EXPECT_EQ(refreshed, 1);
}

}  // namespace
}  // namespace orva
