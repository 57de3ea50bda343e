// The application object: one instance, engine 0 and its handler, file-open
// requests, engine replacement and shutdown.

#include "views/ZorvApp.h"
#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/data/LoudspeakerImpl.h"
#include "acoustics/engine/AcousticsRegistry.h"
#include "data/Field/AudioEngineHandler.h"
#include "data/Field/FieldManager.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Field/TesselateQuad.h"
#include "tools/datagen/LoadGenerated.h"

#include <QFileOpenEvent>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace zorvpro
{
namespace
{

using EngineWeak = std::weak_ptr<acoustics::IZorvAcoustics>;

int s_argc = 1;
char s_name[] = "zorv-app-test";
char* s_argv[] = {s_name, nullptr};

ZorvApp* MakeApp()
{
    ZorvApp::Create(s_argc, s_argv);
    return ZorvApp::Instance();
}

void OpenFile(const QString& path)
{
    QFileOpenEvent event(path);
    QCoreApplication::sendEvent(ZorvApp::Instance(), &event);
}

// Waits for the next message of type on the user-interface side.
field::FieldMessagePtr AwaitMessage(const field::FieldMessengerPtr& ui, uint32_t type)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (auto message = ui->Receive())
        {
            if (message->GetType() == type)
                return message;
        }
        else
            std::this_thread::yield();
    }
    return nullptr;
}

TEST(ZorvApp, OneInstanceHoldsEngineZeroFileOpenPathAndDebugFlagUntilShutdown)
{
    ASSERT_EQ(ZorvApp::Instance(), nullptr);
    ASSERT_EQ(CurrentAcousticsEngine(), nullptr);
    ZorvApp* app = MakeApp();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(QCoreApplication::instance(), app);
    EXPECT_EQ(ApplicationSeam::Instance(), app);

    ZorvApp::Create(s_argc, s_argv); // a second request changes nothing
    EXPECT_EQ(ZorvApp::Instance(), app);

    const EngineWeak engine = app->GetEngine();
    EXPECT_EQ(engine.lock(), acoustics::getAcousticsEngine(0));
    EXPECT_EQ(CurrentAcousticsEngine(), engine.lock());
    const std::weak_ptr<field::AudioEngineHandler> handler = app->GetAudioEngineHandler();
    EXPECT_NE(handler.lock(), nullptr);

    EXPECT_FALSE(app->IsDebug());
    app->SetDebug(true);
    EXPECT_TRUE(app->IsDebug());

    EXPECT_TRUE(app->GetFileToOpen().isEmpty());
    OpenFile("/tmp/first.tq");
    EXPECT_EQ(app->GetFileToOpen(), "/tmp/first.tq");
    OpenFile("/tmp/second.tq");
    EXPECT_EQ(app->GetFileToOpen(), "/tmp/second.tq");
    QEvent other(QEvent::ApplicationStateChange);
    QCoreApplication::sendEvent(app, &other);
    EXPECT_EQ(app->GetFileToOpen(), "/tmp/second.tq");

    app->Shutdown();
    EXPECT_EQ(ZorvApp::Instance(), nullptr);
    EXPECT_EQ(ApplicationSeam::Instance(), nullptr);
    EXPECT_TRUE(handler.expired());
    EXPECT_TRUE(engine.expired()) << "the registry and the application let engine 0 go";
}

TEST(ZorvApp, AfterResetTheHandlerHearsTheNewEngineAndTheOldOneIsGone)
{
    const auto model = datagen::LoadGenerated(datagen::MakeArrayDataSet());
    ASSERT_NE(model, nullptr);
    ZorvApp* app = MakeApp();
    ASSERT_NE(app, nullptr);
    const EngineWeak old = app->GetEngine();

    ASSERT_TRUE(app->ResetEngine());
    const auto engine = app->GetEngine();
    EXPECT_TRUE(old.expired());
    EXPECT_EQ(engine, acoustics::getAcousticsEngine(0));

    // A real calculation on the new engine reaches the user-interface side only
    // when the handler is its calculation listener.
    field::FieldManager manager;
    const auto handler = app->GetAudioEngineHandler();
    handler->SetMessenger(manager.GetMessenger(field::Side::Audio));
    auto cluster = acoustics::createLoudspeakerCluster();
    ASSERT_EQ(cluster->addModule(std::make_shared<acoustics::LoudspeakerImpl>(*model)), 1);
    engine->addCluster(cluster);
    auto chunk = std::make_shared<field::FieldChunk>(1);
    field::TesselateQuad(chunk, 2.0, {5, -4, 0}, {13, -4, 0}, {13, 4, 0}, {5, 4, 0});
    const auto ui = manager.GetMessenger(field::Side::UserInterface);
    ui->SendChunks(field::MessageType::NewChunks, {chunk});
    EXPECT_EQ(handler->RunPass(), 1);
    engine->calculate(true);
    const auto message = AwaitMessage(ui, field::MessageType::ChunksUpdated);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetChunks().front(), chunk);

    handler->Shutdown();
    engine->removeCluster(cluster);
    app->Shutdown();
}

TEST(ZorvApp, ResetsWhileAnotherThreadReadsTheCurrentEngine)
{
    ZorvApp* app = MakeApp();
    ASSERT_NE(app, nullptr);
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::thread reader(
        [&]
        {
            while (!done.load())
            {
                if (auto engine = CurrentAcousticsEngine())
                {
                    EXPECT_EQ(engine->getVersion()[0], 1u);
                    ++reads;
                }
            }
        });
    std::vector<EngineWeak> engines{app->GetEngine()};
    for (int i = 0; i < 4; ++i)
    {
        ASSERT_TRUE(app->ResetEngine());
        engines.push_back(app->GetEngine());
        EXPECT_NE(engines.back().lock(), engines[engines.size() - 2].lock());
    }
    while (reads.load() == 0)
        std::this_thread::yield();
    done = true;
    reader.join();
    for (size_t i = 0; i + 1 < engines.size(); ++i)
        EXPECT_TRUE(engines[i].expired()) << "engine " << i;
    app->Shutdown();
}

} // namespace
} // namespace zorvpro
