// Resource modules and the current resource handle.
#include "platform/win/Resources.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace {

struct Module {
    std::string name;
    std::map<int, DialogTemplate> dialogs;
    std::map<std::pair<std::string, int>, std::vector<BYTE>> data;
};

struct ResourceState {
    std::vector<std::unique_ptr<Module>> modules;
    HINSTANCE current = nullptr;
};

ResourceState& state()
{
    static ResourceState s;
    return s;
}

Module* moduleOf(HINSTANCE handle)
{
    for (auto& m : state().modules) {
        if (reinterpret_cast<HINSTANCE>(m.get()) == handle)
            return m.get();
    }
    return nullptr;
}

} // namespace

namespace kxwin {

HINSTANCE resourceModule(const std::string& name)
{
    for (auto& m : state().modules) {
        if (m->name == name)
            return reinterpret_cast<HINSTANCE>(m.get());
    }
    auto module = std::make_unique<Module>();
    module->name = name;
    auto handle = reinterpret_cast<HINSTANCE>(module.get());
    state().modules.push_back(std::move(module));
    return handle;
}

std::string resourceModuleName(HINSTANCE module)
{
    Module* m = moduleOf(module);
    return m ? m->name : std::string();
}

void addDialogTemplate(HINSTANCE module, DialogTemplate dialog)
{
    if (Module* m = moduleOf(module))
        m->dialogs[dialog.id] = std::move(dialog);
}

void addResourceData(HINSTANCE module, const std::string& kind, int id, std::vector<BYTE> data)
{
    if (Module* m = moduleOf(module))
        m->data[{kind, id}] = std::move(data);
}

const std::vector<BYTE>* findResourceDataIn(HINSTANCE module, const std::string& kind, int id)
{
    Module* m = moduleOf(module);
    if (m == nullptr)
        return nullptr;
    auto it = m->data.find({kind, id});
    return it == m->data.end() ? nullptr : &it->second;
}

} // namespace kxwin

HINSTANCE AfxGetResourceHandle()
{
    if (state().current == nullptr)
        state().current = kxwin::resourceModule("host");
    return state().current;
}

void AfxSetResourceHandle(HINSTANCE module)
{
    if (moduleOf(module) != nullptr)
        state().current = module;
}

const DialogTemplate* FindDialogTemplate(int id)
{
    Module* m = moduleOf(AfxGetResourceHandle());
    if (m == nullptr)
        return nullptr;
    auto it = m->dialogs.find(id);
    return it == m->dialogs.end() ? nullptr : &it->second;
}

const std::vector<BYTE>* FindResourceData(const std::string& kind, int id)
{
    return kxwin::findResourceDataIn(AfxGetResourceHandle(), kind, id);
}

SIZE DialogBaseUnits(const std::string& fontFace, int pointSize)
{
    const int size = std::clamp(pointSize, 4, 72);
    return SIZE{static_cast<LONG>(std::lround(6.0 * size / 8.0)), static_cast<LONG>(std::lround(13.0 * size / 8.0))};
}

RECT DialogUnitsToPixels(const RECT& units, SIZE base)
{
    auto x = [&](LONG v) { return static_cast<LONG>(std::lround(v * base.cx / 4.0)); };
    auto y = [&](LONG v) { return static_cast<LONG>(std::lround(v * base.cy / 8.0)); };
    return RECT{x(units.left), y(units.top), x(units.right), y(units.bottom)};
}
