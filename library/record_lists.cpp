#include "library/record_lists.h"

#include "base/bounded_text.h"

namespace lm {

void FreeRecord(dLM_DATAITEM_EXT* ext) {
    delete ext;
}

void FreeRecord(dLM_DATAITEM* item) {
    if (item == nullptr) return;
    delete[] item->name;
    delete[] item->help;
    delete[] item->second_help;
    delete[] item->format;
    FreeRecord(item->ext);
    delete item;
}

void FreeRecord(dLM_OBJECT* object) {
    if (object == nullptr) return;
    delete[] object->name;
    delete[] object->title;
    FreeChain(object->d_in);
    FreeChain(object->d_out);
    FreeChain(object->d_init);
    FreeChain(object->d_prom);
    FreeChain(object->data_user);
    delete object;
}

void FreeRecord(dLMN_TOOL* tool) {
    if (tool == nullptr) return;
    delete[] tool->description;
    delete tool;
}

BitmapHandle BitmapList::Load(const std::string& path, std::string_view file_name) {
    if (!platform_.files().CanBeOpened(path)) return 0;
    const BitmapHandle bitmap = platform_.LoadBitmapFile(path);
    if (bitmap != 0) entries_.push_back({bitmap, Bounded(file_name)});
    return bitmap;
}

void BitmapList::Clear() {
    for (const Entry& entry : entries_) platform_.FreeBitmap(entry.bitmap);
    entries_.clear();
}

}  // namespace lm
