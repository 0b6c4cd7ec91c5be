// A control array: like controls under one name, addressed by index, whose handlers take the index.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Controls.h"

namespace ui {

using IndexHandler = std::function<void(int16_t Index)>;

template <class T> class ControlArray {
public:
    // The array's handler for T's own event; a form sets it once and every element forwards to it.
    IndexHandler Click;
    IndexHandler Change;

    // Creates element index (indices need not be contiguous).
    template <class... Args> T& Load(int16_t index, QWidget* parent, Args&&... args) {
        if (elements_.count(index))
            runtime::raise(runtime::err::kInvalidCall, "Load", "Object already loaded");
        auto element = std::make_unique<T>(parent, std::forward<Args>(args)...);
        element->setIndex(index);
        wire(*element, index);
        return *(elements_[index] = std::move(element));
    }

    void Unload(int16_t index) { elements_.erase(index); }

    T& operator[](int16_t index) const {
        const auto it = elements_.find(index);
        if (it == elements_.end())
            runtime::raise(err::kInvalidPropertyArrayIndex, "ControlArray",
                           "Control array element does not exist");
        return *it->second;
    }

    bool contains(int16_t index) const { return elements_.count(index) > 0; }
    int16_t LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int16_t UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
    int32_t Count() const { return static_cast<int32_t>(elements_.size()); }

    template <class F> void forEach(F&& f) const {
        for (const auto& [index, element] : elements_)
            f(*element);
    }

private:
    void wire(T& element, int16_t index) {
        if constexpr (requires { element.Click; })
            element.Click = [this, index] {
                if (Click) Click(index);
            };
        if constexpr (requires { element.Change; })
            element.Change = [this, index] {
                if (Change) Change(index);
            };
    }

    std::map<int16_t, std::unique_ptr<T>> elements_;
};

} // namespace ui
