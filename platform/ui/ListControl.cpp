// The items, item data and selection of list and combo boxes, kept here so the two widgets only show them.
#include "platform/ui/ListControl.h"

#include <cstddef>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

namespace ui {

namespace {

// Whether a sorted list puts a before b: by text, letter case aside.
bool sortsBefore(const std::string& a, const std::string& b) {
    return runtime::foldCase(runtime::toU32(a)) < runtime::foldCase(runtime::toU32(b));
}

} // namespace

void ListControl::checkIndex(int32_t index, const char* member) const {
    if (index < 0 || index >= rowCount())
        runtime::raise(err::kInvalidPropertyArrayIndex, member, "Invalid property array index");
}

void ListControl::AddItem(const std::string& text, int32_t index) {
    if (index == -1) {
        index = rowCount();
        if (sorted_)
            while (index > 0 && sortsBefore(text, rowText(index - 1)))
                --index;
    }
    if (index < 0 || index > rowCount()) runtime::raise(runtime::err::kInvalidCall, "AddItem");
    insertRow(index, text);
    itemData_.insert(itemData_.begin() + index, 0);
    newIndex_ = index;
    if (listIndex_ >= index) ++listIndex_;
    showRow(listIndex_);
}

void ListControl::RemoveItem(int32_t index) {
    if (index < 0 || index >= rowCount()) runtime::raise(runtime::err::kInvalidCall, "RemoveItem");
    removeRow(index);
    itemData_.erase(itemData_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    showRow(listIndex_);
}

void ListControl::Clear() {
    clearRows();
    itemData_.clear();
    listIndex_ = -1;
}

int32_t ListControl::ListCount() const {
    return rowCount();
}

std::string ListControl::List(int32_t index) const {
    // Reading past the end gives empty text, not an error.
    if (index < 0 || index >= rowCount()) return {};
    return rowText(index);
}

int32_t ListControl::ItemData(int32_t index) const {
    checkIndex(index, "ItemData");
    return itemData_[static_cast<std::size_t>(index)];
}

void ListControl::setItemData(int32_t index, int32_t data) {
    checkIndex(index, "ItemData");
    itemData_[static_cast<std::size_t>(index)] = data;
}

void ListControl::setListIndex(int32_t index) {
    if (index < -1 || index >= rowCount())
        runtime::raise(err::kInvalidPropertyValue, "ListIndex", "Invalid property value");
    if (index == listIndex_) return;
    listIndex_ = index;
    showRow(index);
    if (Click) Click();
}

void ListControl::forgetSelection() {
    listIndex_ = -1;
}

void ListControl::userSelected(int row) {
    if (row == listIndex_ || row < 0) return;
    listIndex_ = row;
    runGuarded(Click, "Click");
}

} // namespace ui
