#include <gtest/gtest.h>

#include "platform/framework/MessageMap.h"

namespace velk::fw {
namespace {

using Entry = MsgEntry<int>;
using Table = MsgTable<int>;

const Entry kBase[] = {
    {MsgKind::Message, 0x0001, 0x0001, 0, 1},   // WM_CREATE in the base
    {MsgKind::Message, 0x0111, 0x0111, 0, 2},   // any WM_COMMAND
    {MsgKind::Message, 0x0400, 0x0401, 0, 3},   // a range of private messages
};
const Table kBaseTable{nullptr, kBase, 3};
// An asked entry: the class's own table says which commands are its (here the even ids over 8000).
bool EvenCommand(const MsgKey& k) { return k.isCommand && k.id > 8000 && k.id % 2 == 0; }
const Entry kDerived[] = {
    {MsgKind::Message, 0x0001, 0x0001, 0, 10},
    {MsgKind::Command, 6000, 7000, 0, 11},
    {MsgKind::Notify, 100, 100, static_cast<uint32_t>(-3), 12},
    {MsgKind::Asked, 0, 0, 0, 13, &EvenCommand},
};
const Table kDerivedTable{&kBaseTable, kDerived, 4};

int Find(const MsgKey& k) {
  const Entry* e = FindEntry(&kDerivedTable, k);
  return e ? e->handler : 0;
}

TEST(MessageMap, DerivedFirstThenBaseChain) {
  EXPECT_EQ(Find({0x0001, false, false, 0, 0}), 10);
  EXPECT_EQ(Find({0x0401, false, false, 0, 0}), 3);
  EXPECT_EQ(Find({0x0402, false, false, 0, 0}), 0);
}

TEST(MessageMap, CommandRangesAndNotifications) {
  EXPECT_EQ(Find({0x0111, true, false, 6000, 0}), 11);
  EXPECT_EQ(Find({0x0111, true, false, 7000, 1}), 11);
  // Outside the range a command still reaches a plain WM_COMMAND entry of the base.
  EXPECT_EQ(Find({0x0111, true, false, 7001, 0}), 2);
  EXPECT_EQ(Find({0x004E, false, true, 100, static_cast<uint32_t>(-3)}), 12);
  EXPECT_EQ(Find({0x004E, false, true, 100, static_cast<uint32_t>(-2)}), 0);
  EXPECT_EQ(Find({0x004E, false, true, 101, static_cast<uint32_t>(-3)}), 0);
  // An asked entry takes what its question accepts; the rest go on down the chain.
  EXPECT_EQ(Find({0x0111, true, false, 8002, 0}), 13);
  EXPECT_EQ(Find({0x0111, true, false, 8003, 0}), 2);
}

}  // namespace
}  // namespace velk::fw
