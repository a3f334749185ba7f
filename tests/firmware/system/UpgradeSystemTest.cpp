#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "protocol/Frames.h"
#include "qtserial/QtCommPort.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

std::uint32_t sum(const std::string& bytes) {
    std::uint32_t total = 0;
    for (char c : bytes) {
        total += static_cast<unsigned char>(c);
    }
    return total;
}

TEST(UpgradeSystem, AThousandByteImageReachesTheSimulatedController) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);

    const std::string stored =
        ::testing::TempDir() + "orva_upgrade_" + std::to_string(::getpid()) + ".bin";
    std::remove(stored.c_str());
    sim::SimOptions options;
    options.imagePath = stored;
    sim::SimRunner controller(options);
    const std::string device = controller.start();

    test::RecordingPort port(test::comTo(device));
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core(port, clock, prompts, files);
    auto runUntil = [&](const std::function<bool()>& done) {
        return test::runUntil(app, done, 30000);
    };

    core.initialise();
    ASSERT_TRUE(runUntil([&] { return port.chainDone(core.link()); }))
        << "the read-back did not end";

    std::string image(1000, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * 73 + 5) % 256);
    }
    files.content["/pilot/kivrel.bin"] = image;
    prompts.files.push_back(std::string("/pilot/kivrel.bin"));
    core.onUserAction({ActionKind::Click, ids::main::kChooseFirmware});
    ASSERT_TRUE(core.model().enabled(ids::main::kUpgrade));
    ASSERT_EQ(core.firmware().image().blockCount(), 19);

    port.sent.clear();
    port.lastAsked = false;
    core.onUserAction({ActionKind::Click, ids::main::kUpgrade});
    ASSERT_TRUE(runUntil([&] { return !prompts.shown.empty(); })) << "no end of the transfer";
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示:");
    EXPECT_EQ(prompts.shown[0].text.rfind("恭喜你升级成功!", 0), 0u) << prompts.shown[0].text;
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);

    // Entry words, start, 18 data packets, end, confirm, then the version query.
    ASSERT_GE(port.sent.size(), 24u);
    EXPECT_EQ(port.sent[0], "?W\r");
    EXPECT_EQ(port.sent[1], "UPQDMC\r");
    const std::string& end = port.sent[21];
    ASSERT_EQ(end.size(), frames::kPacketSize);
    EXPECT_EQ(static_cast<unsigned char>(end[0]), frames::kPacketEnd);
    std::uint32_t sent = 0;
    for (int i = 0; i < 4; ++i) {
        sent |= static_cast<std::uint32_t>(static_cast<unsigned char>(end[8 + i])) << (8 * i);
    }
    EXPECT_EQ(sent, sum(image));
    EXPECT_EQ(port.sent[23], "?V\r");

    // The loader kept the file and the zero padding of the last data packet.
    std::ifstream file(stored, std::ios::binary);
    const std::string kept((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, image + std::string(18 * 56 - image.size(), '\0'));
    EXPECT_EQ(sum(kept), sent);

    // And the parameters are read again.
    EXPECT_TRUE(runUntil([&] { return port.chainDone(core.link()); }));
    EXPECT_EQ(core.model().text(ids::main::kVersionText), "1.220");
    std::remove(stored.c_str());
}

}  // namespace
}  // namespace orva
