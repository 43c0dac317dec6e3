// The scene graph's bookkeeping without a display: how a list updates its children (order,
// duplicates, gates, removal, nesting) and that it never owns them.
#include "quill_mark/graphics/qm_graphic_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using Quillmark::Graphics::Graphic;
using Quillmark::Graphics::GraphicList;

namespace
{

// Appends its name and the step to a shared log on every update; never drawn here.
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

TEST(GraphicList, UpdatesEachEntryInOrderThroughItsOwnGateAndOwnsNone)
{
    std::string log;
    LoggingGraphic a("a", log), b("b", log), inactive("i", log), stranger("s", log);
    inactive.SetActive(false);
    GraphicList list;
    for (Graphic* graphic : std::initializer_list<Graphic*>{&a, &b, nullptr, &inactive, &a})
        list.AddGraphic(graphic);  // null is accepted and walked past
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

    log.clear();
    list.SetActive(true);
    auto outer = std::make_unique<GraphicList>();
    outer->AddGraphic(&list);
    outer->AddGraphic(&a);
    outer->Update(5.0f);
    EXPECT_EQ(log, "b5a5");
    outer.reset();  // destroying a list leaves its graphics alive
    a.Update(1.0f);
    list.Update(1.0f);
    EXPECT_EQ(log, "b5a5a1b1");
}
