// The scene graph's bookkeeping without a display: colours, graphic defaults, and how a list
// updates its children (order, duplicates, gates, removal, non-ownership).
#include "quill_mark/graphics/qm_graphic_list.h"

#include <gtest/gtest.h>

#include <string>

#include "quill_mark/graphics/qm_color.h"

using Quillmark::Graphics::Color;
using Quillmark::Graphics::Graphic;
using Quillmark::Graphics::GraphicList;

namespace
{

// Appends its name to a shared log on every update; never drawn in these tests.
class LoggingGraphic : public Graphic
{
public:
    LoggingGraphic(std::string name, std::string& log) : mName(std::move(name)), mLog(log) {}
    void OnUpdate(float deltaTime) override { mLog += mName + std::to_string(int(deltaTime)); }
    void OnRender() override {}

private:
    std::string mName;
    std::string& mLog;
};

}  // namespace

TEST(Color, ChannelsAreThePackedBytesOver255)
{
    const Color azure(0xFF00AAFFu);
    EXPECT_EQ(azure.GetArgb(), 0xFF00AAFFu);
    EXPECT_EQ(azure.GetAlpha(), 1.0f);
    EXPECT_EQ(azure.GetRed(), 0.0f);
    EXPECT_EQ(azure.GetGreen(), static_cast<float>(170 / 255.0));
    EXPECT_EQ(azure.GetBlue(), 1.0f);

    const Color halfTransparent(0x80402010u);
    EXPECT_EQ(halfTransparent.GetAlpha(), static_cast<float>(128 / 255.0));
    EXPECT_EQ(halfTransparent.GetRed(), static_cast<float>(64 / 255.0));
    EXPECT_EQ(halfTransparent.GetGreen(), static_cast<float>(32 / 255.0));
    EXPECT_EQ(halfTransparent.GetBlue(), static_cast<float>(16 / 255.0));

    EXPECT_EQ(Color::kWhite.GetArgb(), 0xFFFFFFFFu);
    EXPECT_EQ(Color().GetArgb(), 0xFFFFFFFFu);
    EXPECT_EQ(Color::kBlack.GetArgb(), 0xFF000000u);
    EXPECT_EQ(Color::kRed.GetRed(), 1.0f);
    EXPECT_EQ(Color::kRed.GetGreen(), 0.0f);
    EXPECT_EQ(Color::kGreen.GetGreen(), 1.0f);
    EXPECT_EQ(Color::kBlue.GetBlue(), 1.0f);
    EXPECT_EQ(Color::kBlue.GetRed(), 0.0f);
}

TEST(Graphic, StartsAtTheOriginSwitchedOnAndKeepsItsPositionWhenGivenItself)
{
    std::string log;
    LoggingGraphic graphic("g", log);
    EXPECT_EQ(graphic.GetPosition().x, 0.0f);
    EXPECT_EQ(graphic.GetPosition().y, 0.0f);
    EXPECT_EQ(graphic.GetDepth(), 0.0f);
    EXPECT_TRUE(graphic.IsActive());
    EXPECT_TRUE(graphic.IsVisible());
    EXPECT_TRUE(graphic.IsListDrawable());

    graphic.SetPosition(12.5f, -3.0f);
    graphic.SetPosition(graphic.GetPosition());
    EXPECT_EQ(graphic.GetPosition().x, 12.5f);
    EXPECT_EQ(graphic.GetPosition().y, -3.0f);
}

TEST(GraphicList, UpdatesEachEntryInOrderThroughItsOwnGate)
{
    std::string log;
    LoggingGraphic a("a", log), b("b", log), inactive("i", log), stranger("s", log);
    inactive.SetActive(false);
    GraphicList list;
    list.AddGraphic(&a);
    list.AddGraphic(&b);
    list.AddGraphic(nullptr);  // accepted and walked past
    list.AddGraphic(&inactive);
    list.AddGraphic(&a);

    list.Update(2.0f);
    EXPECT_EQ(log, "a2b2a2");

    log.clear();
    list.RemoveGraphic(&stranger);
    list.RemoveGraphic(&a);
    list.Update(3.0f);
    EXPECT_EQ(log, "b3");
    EXPECT_EQ(list.GetGraphics().size(), 3u);

    log.clear();
    list.SetActive(false);
    list.Update(4.0f);
    EXPECT_EQ(log, "");

    // Nested lists pass the update down; an inner list's children keep their own gates.
    log.clear();
    GraphicList outer;
    list.SetActive(true);
    outer.AddGraphic(&list);
    outer.AddGraphic(&a);
    outer.Update(5.0f);
    EXPECT_EQ(log, "b5a5");
}

TEST(GraphicList, DestroyingAListLeavesItsGraphicsAlive)
{
    std::string log;
    auto child = std::make_unique<LoggingGraphic>("c", log);
    child->SetPosition(7.0f, 8.0f);
    {
        GraphicList list;
        list.AddGraphic(child.get());
        list.AddGraphic(child.get());
    }
    child->Update(1.0f);
    EXPECT_EQ(log, "c1");
    EXPECT_EQ(child->GetPosition().x, 7.0f);
}
