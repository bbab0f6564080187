// The monkey hands itself to a program started meanwhile: the program gets
// its seed, step and budget, claims it with its first window, drives itself
// and reports where it stopped; a program that dies on the way reports
// nothing, which the starting side sees.
#include <windows.h>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/unicode.h"
#include "process/process_object.h"
#include "script/handover.h"
#include "shell_support.h"
#include "temp_device.h"
#include "window/clock.h"
#include "window/message_queue.h"

namespace {

class RecordingDriver : public wince::HandoverDriver {
   public:
    int offers = 0;
    std::string offered;
    std::unique_ptr<wince::ChildLink> child;
    std::shared_ptr<wince::ProcessObject> process;

    bool Offer(std::vector<std::pair<std::string, std::string>> &env) override {
        ++offers;
        offered = "4242 10 1000 25";  // seed, step, last step, budget
        env.push_back({"WINCE_MONKEY", offered});
        return true;
    }
    void Waiting(std::unique_ptr<wince::ChildLink> link, std::shared_ptr<wince::ProcessObject> program) override {
        child = std::move(link);
        process = std::move(program);
    }
};

class MonkeyHandover : public testing_support::DeviceTest {
   protected:
    void TearDown() override { wince::SetHandoverDriver(nullptr); }
};

TEST_F(MonkeyHandover, AStartedProgramTakesTheMonkeyAndReportsWhereItStopped) {
    shell_testing::InstallProgram(device, "\\Windows\\helper.exe");
    const struct {
        const char16_t *commandLine;
        bool reported;  // false: it died without a word
        DWORD exitCode;
    } rows[] = {
        {u"ask", true, 0},
        {u"crash", false, 128 + SIGABRT},
    };
    for (const auto &row : rows) {
        RecordingDriver driver;
        wince::SetHandoverDriver(&driver);
        std::u16string line = row.commandLine;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessW(u"\\Windows\\helper.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   nullptr, &pi));
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        EXPECT_EQ(driver.offers, 1);
        ASSERT_NE(driver.child, nullptr) << "the started program's link was not handed to the driver";
        for (int n = 0; n < 600 && !driver.child->Ended(); ++n) {
            wince::WaitForEvents(wince::Clock::Now() + 50);
            wince::PumpReadyMessages();
        }
        ASSERT_TRUE(driver.child->Ended()) << wince::ToUtf8(line);
        EXPECT_TRUE(driver.child->Claimed()) << wince::ToUtf8(line);
        EXPECT_EQ(driver.child->Reported(), row.reported) << wince::ToUtf8(line);
        ASSERT_NE(driver.process, nullptr);
        ASSERT_TRUE(driver.process->Wait(20000));
        EXPECT_EQ(driver.process->ExitCode(), row.exitCode) << wince::ToUtf8(line);
        if (row.reported) {
            EXPECT_EQ(driver.child->Status(), "ok") << driver.child->Message();
            // It took at least one step and no more than its budget.
            EXPECT_GT(driver.child->Next(), 10u);
            EXPECT_LE(driver.child->Next(), 35u);
        }
        wince::SetHandoverDriver(nullptr);
    }
}

// A program started while no driver is set gets no monkey.
TEST_F(MonkeyHandover, WithoutADriverNothingIsHandedOver) {
    wince::ScriptOffer offer = wince::OfferScript();
    EXPECT_EQ(offer.childFd, -1);
    for (const auto &[name, value] : offer.env) EXPECT_EQ(value, "") << name;
}

}  // namespace
