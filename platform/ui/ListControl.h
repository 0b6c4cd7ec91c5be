// What list and combo boxes share: items with item data and a selected index (-1 for none).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace ui {

class ListControl : public Control {
public:
    // Without an index the item goes to the end, or, in a sorted list, to its place by text (letter
    // case aside, after equal texts); NewIndex tells where.
    void AddItem(const std::string& text, int32_t index = -1);
    int32_t NewIndex() const { return newIndex_; }
    bool Sorted() const { return sorted_; }
    void setSorted(bool on) { sorted_ = on; }
    void RemoveItem(int32_t index);
    void Clear();
    int32_t ListCount() const;
    std::string List(int32_t index) const;
    int32_t ItemData(int32_t index) const;
    void setItemData(int32_t index, int32_t data);
    int32_t ListIndex() const { return listIndex_; }
    void setListIndex(int32_t index);
    Handler Click;

protected:
    explicit ListControl(QWidget* widget) : Control(widget) {}
    void userSelected(int row);

    virtual int rowCount() const = 0;
    virtual void insertRow(int row, const std::string& text) = 0;
    virtual void removeRow(int row) = 0;
    virtual void clearRows() = 0;
    virtual std::string rowText(int row) const = 0;
    virtual void showRow(int row) = 0; // without signals

    // The selection forgotten without running Click: the user typed over it.
    void forgetSelection();

private:
    void checkIndex(int32_t index, const char* member) const;
    std::vector<int32_t> itemData_;
    int32_t listIndex_ = -1;
    int32_t newIndex_ = -1;
    bool sorted_ = false;
};

} // namespace ui
