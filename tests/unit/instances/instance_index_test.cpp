#include "instances/instance_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <list>
#include <random>

namespace lm {
namespace {

struct Rec {
    Rec* next = nullptr;
    std::uint16_t ident = 0;
    std::uint16_t instance = 0;
    std::uint64_t order = 0;
};
std::uint64_t OrderOf(const Rec* record) {
    return record->order;
}

// A linked list of records as the driver keeps it, with the index beside it;
// every answer of the index checked against a walk from the head.
class IndexedList {
public:
    Rec* Add(std::uint16_t ident, std::uint16_t instance) {
        Rec& r = records_.emplace_back(Rec{nullptr, ident, instance, next_order_++});
        if (tail_ != nullptr) tail_->next = &r;
        if (head_ == nullptr) head_ = &r;
        tail_ = &r;
        index_.Add(&r, ident, instance);
        return &r;
    }
    void Remove(Rec* r) {
        ASSERT_TRUE(index_.Remove(r, r->ident, r->instance));
        Rec* previous = nullptr;
        for (Rec* p = head_; p != r; p = p->next) previous = p;
        (previous == nullptr ? head_ : previous->next) = r->next;
        if (tail_ == r) tail_ = previous;
        records_.remove_if([r](const Rec& x) { return &x == r; });
    }
    void Renumber(Rec* r, std::uint16_t instance) {
        index_.Renumber(r, r->ident, r->instance, instance);
        r->instance = instance;
    }
    Rec* At(std::size_t k) {
        auto it = records_.begin();
        std::advance(it, k % records_.size());
        return &*it;
    }
    std::size_t size() const { return records_.size(); }

    // Every pair and ident of the small key space answered as the walk answers.
    void ExpectAsTheWalk(std::uint16_t idents, std::uint16_t instances) const {
        EXPECT_EQ(index_.size(), records_.size());
        for (std::uint16_t ident = 1; ident <= idents; ++ident) {
            Rec* first_of_ident = nullptr;
            for (Rec* p = head_; p != nullptr && first_of_ident == nullptr; p = p->next) {
                if (p->ident == ident) first_of_ident = p;
            }
            ASSERT_EQ(index_.FindFirstOfIdent(ident), first_of_ident) << "ident " << ident;
            for (std::uint16_t instance = 0; instance <= instances; ++instance) {
                Rec* first = nullptr;
                for (Rec* p = head_; p != nullptr && first == nullptr; p = p->next) {
                    if (p->ident == ident && p->instance == instance) first = p;
                }
                ASSERT_EQ(index_.Find(ident, instance), first) << ident << ":" << instance;
            }
        }
    }

    InstanceIndex<Rec, &OrderOf> index_;

private:
    std::list<Rec> records_;
    Rec* head_ = nullptr;
    Rec* tail_ = nullptr;
    std::uint64_t next_order_ = 0;
};

TEST(InstanceIndex, FirstCreatedWinsThroughDeletionAndRenumbering) {
    IndexedList list;
    Rec* a = list.Add(7, 1);
    Rec* b = list.Add(7, 2);
    Rec* c = list.Add(7, 1);  // the same pair again
    list.Add(9, 1);
    list.ExpectAsTheWalk(9, 3);
    list.Remove(a);  // the older duplicate takes over
    list.ExpectAsTheWalk(9, 3);
    list.Renumber(b, 1);  // b is older than c
    EXPECT_EQ(list.index_.Find(7, 1), b);
    list.Renumber(b, 5);
    EXPECT_EQ(list.index_.Find(7, 1), c);
    list.ExpectAsTheWalk(9, 5);
    Rec stranger{nullptr, 9, 1, 99};
    EXPECT_FALSE(list.index_.Remove(&stranger, 9, 1)) << "a record the index does not hold";
    EXPECT_FALSE(list.index_.Remove(b, 7, 4)) << "a record under a pair it does not have";
    list.ExpectAsTheWalk(9, 5);
}

// Random adds, removals and renumberings over few pairs (many shared), and
// over many (the table grows and keys move up on removal).
TEST(InstanceIndex, AnswersAsTheWalkThroughRandomChanges) {
    struct Case {
        std::uint16_t idents, instances;
        int steps;
    };
    for (const Case& c : {Case{3, 3, 3000}, Case{4, 300, 6000}}) {
        SCOPED_TRACE(c.instances);
        std::mt19937 random(c.instances);
        IndexedList list;
        auto pick = [&](int n) { return static_cast<std::uint16_t>(random() % n + 1); };
        for (int step = 0; step < c.steps; ++step) {
            const unsigned what = random() % 10;
            if (list.size() == 0 || what < 5) {
                list.Add(pick(c.idents), pick(c.instances));
            } else if (what < 8) {
                list.Remove(list.At(random()));
            } else {
                list.Renumber(list.At(random()), pick(c.instances));
            }
            if (step % 97 == 0 || c.instances < 10) list.ExpectAsTheWalk(c.idents, c.instances);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace lm
