// Run mode end to end in one process: the driver starts the ROZID7.EXE
// stand-in, which answers from its simulated controller, and misbehaves
// when told to.
#include "tests/driver/run_mode_fixture.h"
#include "tools/rozid7/in_process.h"

namespace lm::test {
namespace {

class Rozid7Session : public RunModeFixture {
protected:
    // Run mode with the stand-in, and one order of PUMP 1's SPEED every
    // 0.2 s for the host window.
    void Start(std::vector<std::string> misbehaviour = {}) {
        fake_->run_programs = true;
        program_ = &peers_->StartStandIn(std::move(misbehaviour));
        Prepare();
        EnableLog();
        StartRun();
        Order(11, 1, 1, host_->handle(), 2);
    }
    void Steps(int n) { peers_->Wait(n); }
    std::uint8_t LastValue() { return host_->answers.back().data[0]; }

    rozid7::InProcess* program_ = nullptr;  // the run host's
};

TEST_F(Rozid7Session, LiveValuesFlowAWriteShowsInTheNextReadAndStopRunEndsBoth) {
    Start();
    ASSERT_EQ(program_->starts(), 1);
    EXPECT_EQ(program_->parameters(), "/DDE 0000");
    program_->program()->controller().Write(11, 1, 1, {42, 0, 0, 0});
    Steps(10);
    ASSERT_GE(host_->answers.size(), 2u);
    EXPECT_EQ(LastValue(), 42);
    SetData(11, 1, 1, 77);
    Steps(5);
    EXPECT_EQ(LastValue(), 77);
    PARAM_ENTRY stop = Record(kStopRun);
    Call(stop);
    EXPECT_TRUE(program_->program()->closed());
    EXPECT_FALSE(fake_->timer_running());
    EXPECT_EQ(program_->window(), 0u);
}

TEST_F(Rozid7Session, LateAnswersStillReachTheHost) {
    Start({"LATE 5"});
    Steps(12);
    ASSERT_FALSE(host_->answers.empty());
    EXPECT_EQ(host_->answers[0].record.valid, 1);
}

TEST_F(Rozid7Session, ADroppedAnswerIsRequestedAgainAfterTheTimeOutAndTheValueFlowsAgain) {
    Start({"DROP 2"});
    program_->program()->controller().Write(11, 1, 1, {5, 0, 0, 0});
    Steps(8);
    const std::size_t before = host_->answers.size();
    Steps(20);  // the second answer was lost: 1.5 s later it is asked again
    EXPECT_GT(host_->answers.size(), before);
    EXPECT_TRUE(Logged("TIMER answer time-out - order requested again"));
    EXPECT_EQ(LastValue(), 5);
}

TEST_F(Rozid7Session, GarbageIsShownAndIgnored) {
    Start({"GARBAGE"});
    Steps(10);
    EXPECT_TRUE(host_->answers.empty());
    EXPECT_EQ(window()["Edit2"].text, "QQ_RD ZZ ZZ ZZ ZZ ZZ ZZ ZZ|");
}

TEST_F(Rozid7Session, ALineErrorFailsTheOrdersWithoutData) {
    Start({"COM_ERROR 1"});
    Order(11, 2, 1, host_->handle(), 50, 2);
    Steps(5);
    EXPECT_FALSE(fake_->timer_running());
    EXPECT_TRUE(run().com_error());
    ASSERT_EQ(host_->answers.size(), 2u);
    for (const auto& answer : host_->answers) {
        EXPECT_EQ(answer.record.timeout, 1);
        EXPECT_EQ(answer.record.failed, 1);
    }
}

TEST_F(Rozid7Session, ADeadProgramLeavesTheDriverResponsiveAndUnloadDoesNotHang) {
    Start({"DIE 1"});
    Steps(25);  // it dies at the first read; the read asked again finds it gone
    EXPECT_EQ(program_->window(), 0u);
    EXPECT_EQ(run().client_window(), 0u);
    EXPECT_TRUE(Logged("MSG_TOLAN: LMKOMUN window gone - handle forgotten"));
    EXPECT_TRUE(Logged("TIMER Handle to LMKOMUN not defined !!!"));
    EXPECT_EQ(Call(kOrderService), 1);
    EXPECT_EQ(Call(kUnloadDriver), 1);
}

TEST_F(Rozid7Session, AProgramThatNeverAnnouncesItselfLeavesTheReadsWaiting) {
    Start({"SILENT"});
    Steps(10);
    EXPECT_EQ(run().commands().size(), 1u);  // one read, queued once
    EXPECT_TRUE(host_->answers.empty());
}

}  // namespace
}  // namespace lm::test
