// The order list and its index.
#include "online/order_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace lm::test {
namespace {

std::vector<std::uintptr_t> TagsOf(const std::vector<dLM_ORDER*>& orders) {
    std::vector<std::uintptr_t> tags;
    for (const dLM_ORDER* order : orders) tags.push_back(order->tag);
    return tags;
}

TEST(OrderList, ANewOrderCarriesTheRecordTheHostReads) {
    OrderList list;
    dLM_ORDER& order = list.Insert(0x105, 2, 0x12345, 0x77, 9, 25, true, 4);
    EXPECT_EQ(list.Countdown(order), 25);
    EXPECT_FALSE(order.pending);
    const dLM_ITEMDATA& r = order.record;
    EXPECT_EQ(r.kind, 2);
    EXPECT_EQ(r.obj, 0x105);
    EXPECT_EQ(r.instance, 2);
    EXPECT_EQ(r.item, 0x45);
    EXPECT_EQ(r.valid, 0);
    EXPECT_EQ(r.length, 4);
    const std::uint8_t* data = r.data;  // a packed field: read, not bound
    EXPECT_EQ(data, order.data);
    EXPECT_EQ(r.timeout, 1);
    EXPECT_EQ(r.failed, 0);
    EXPECT_EQ(r.reserved, 0);
}

TEST(OrderList, FindTakesTheFirstOrderWithAllFiveKeys) {
    OrderList list;
    list.Insert(7, 1, 10, 0x100, 1, 5, false, 2);
    list.Insert(7, 1, 10, 0x100, 2, 5, false, 2);
    list.Insert(7, 1, 10, 0x100, 2, 9, false, 2);
    list.Insert(7, 1, 0x1000A, 0x100, 2, 5, false, 2);  // same low word, other item number
    EXPECT_EQ(list.Find(7, 1, 10, 0x100, 2)->period, 5);
    EXPECT_EQ(list.Find(7, 1, 10, 0x200, 2), nullptr);
    EXPECT_EQ(list.Find(7, 1, 0x1000A, 0x100, 2)->item, 0x1000Au);
    list.Delete(list.Find(7, 1, 10, 0x100, 2));
    EXPECT_EQ(list.Find(7, 1, 10, 0x100, 2)->period, 9);
    EXPECT_EQ(list.size(), 3u);
}

TEST(OrderList, DeleteWindowRemovesOnlyThatWindowsOrders) {
    OrderList list;
    list.Insert(7, 1, 10, 0x100, 1, 5, false, 2);
    list.Insert(7, 1, 11, 0x200, 2, 5, false, 2);
    list.Insert(8, 1, 10, 0x100, 3, 5, false, 2);
    EXPECT_EQ(list.DeleteWindow(0x100), 2u);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(list.begin()->tag, 2u);
    EXPECT_EQ(list.DeleteWindow(0x999), 0u);
}

TEST(OrderList, AnAnswerFindsTheOrdersThatCanCarryItsItemInListOrder) {
    OrderList list;
    list.Insert(60, 1, 5, 1, 1, 0, false, 4);       // the item itself
    list.Insert(60, 1, 0xFFFF, 1, 2, 0, false, 4);  // the first string item
    list.Insert(60, 1, 3, 1, 3, 0, false, 4);       // a string from ident 3 on
    list.Insert(60, 2, 5, 1, 4, 0, false, 4);       // another instance
    list.Insert(60, 1, 6, 1, 5, 0, false, 4);       // an item above
    list.Insert(61, 1, 5, 1, 6, 0, false, 4);       // another object
    list.Insert(60, 1, 5, 2, 7, 0, false, 4);       // the item, another window
    EXPECT_EQ(TagsOf(list.Candidates(60, 1, 5)), (std::vector<std::uintptr_t>{1, 2, 3, 7}));
    EXPECT_EQ(TagsOf(list.Candidates(60, 1, 0)), (std::vector<std::uintptr_t>{2}));
    EXPECT_EQ(TagsOf(list.Candidates(60, 1, 13)), (std::vector<std::uintptr_t>{2, 5}));
}

TEST(OrderList, AnOrderDeletedDuringAWalkStaysInMemoryUntilTheWalkEnds) {
    OrderList list;
    list.Insert(7, 1, 10, 0x100, 1, 5, false, 2);
    list.Insert(7, 1, 11, 0x100, 2, 5, false, 2);
    {
        OrderList::Walk walk(list);
        dLM_ORDER& first = *list.begin();
        list.DeleteWindow(0x100);
        EXPECT_TRUE(first.removed);
        first.due = 3;  // still the order's memory
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(list.Find(7, 1, 10, 0x100, 1), nullptr);
        EXPECT_TRUE(list.Candidates(7, 1, 10).empty());
        list.Insert(7, 1, 12, 0x100, 3, 5, false, 2);
    }
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(std::distance(list.begin(), list.end()), 1);
    EXPECT_EQ(list.begin()->tag, 3u);
}

// The tags the pass of the first tick hands out, with `change` run when the
// order of tag `at` is handed out (a host call re-entering meanwhile).
struct PassRow {
    const char* what;
    std::uintptr_t at;
    void (*change)(OrderList& list);
    std::vector<std::uintptr_t> handed_out;
    std::size_t second;  // handed out by the pass of the second tick
};

TEST(OrderList, APassHandsOutEachDueOrderOnceInListOrderWhateverChangesMeanwhile) {
    const PassRow rows[] = {
        {"nothing", 0, nullptr, {1, 2, 3}, 3},
        {"an order ahead withdrawn",
         1,
         [](OrderList& l) { l.Delete(l.Find(7, 1, 10, 0x100, 2)); },
         {1, 3},
         2},
        {"an order behind withdrawn",
         3,
         [](OrderList& l) { l.Delete(l.Find(7, 1, 10, 0x100, 1)); },
         {1, 2, 3},
         2},
        {"an order placed, due now",
         2,
         [](OrderList& l) { l.Insert(7, 1, 10, 0x100, 4, 0, false, 2); },
         {1, 2, 3, 4},
         4},
        {"an order placed, due later",
         2,
         [](OrderList& l) { l.Insert(7, 1, 10, 0x100, 4, 1, false, 2); },
         {1, 2, 3},
         4},
        {"an order behind due again now",
         2,
         [](OrderList& l) { l.Schedule(*l.Find(7, 1, 10, 0x100, 1), l.now()); },
         {1, 2, 3},
         3},
        {"an order ahead put off",
         1,
         [](OrderList& l) { l.Schedule(*l.Find(7, 1, 10, 0x100, 3), l.now() + 1); },
         {1, 2},
         3},
        {"an order not due made due now",
         1,
         [](OrderList& l) { l.Schedule(*l.Find(7, 1, 10, 0x100, 9), l.now()); },
         {1, 9, 2, 3},
         4},
        {"every order withdrawn", 1, [](OrderList& l) { l.Clear(); }, {1}, 0},
    };
    for (const PassRow& row : rows) {
        SCOPED_TRACE(row.what);
        OrderList list;
        list.Insert(7, 1, 10, 0x100, 1, 0, false, 2);
        list.Insert(7, 1, 10, 0x100, 9, 5, false, 2);  // not due
        list.Insert(7, 1, 10, 0x100, 2, 0, false, 2);
        list.Insert(7, 1, 10, 0x100, 3, 0, false, 2);
        std::vector<std::uintptr_t> handed_out;
        OrderList::Walk walk(list);
        list.BeginPass();
        while (dLM_ORDER* order = list.NextDue()) {
            handed_out.push_back(order->tag);
            if (order->tag == row.at) row.change(list);
            if (!order->removed)
                list.Schedule(*order, list.now());  // asks for now: gets the next tick
        }
        list.EndPass();
        EXPECT_EQ(handed_out, row.handed_out);
        list.BeginPass();  // the second tick: every order of the first one once more
        std::size_t second = 0;
        while (list.NextDue() != nullptr) ++second;
        list.EndPass();
        EXPECT_EQ(second, row.second);
    }
}

}  // namespace
}  // namespace lm::test
