#include "editor/dragdrop.h"

#include <algorithm>
#include <utility>

namespace zv {

std::string ComposeDragText(std::string_view line) {
    std::string text;
    text.reserve(kDragMarker.size() + line.size());
    text.append(kDragMarker).append(line);
    return text;
}

std::optional<std::string> ParseDragText(std::string_view text) {
    if (!text.starts_with(kDragMarker))
        return std::nullopt;
    std::string_view line = text.substr(kDragMarker.size());
    line = line.substr(0, line.find_first_of(std::string_view("\0\r\n", 3)));
    if (line.empty())
        return std::nullopt;
    return std::string(line);
}

std::uint32_t DropEffectForKeys(std::uint32_t keyState) {
    return (keyState & kKeyStateControl) != 0 ? kDropEffectCopy : kDropEffectMove;
}

int NearestItem(Point client, int topIndex, int count, int itemHeight) {
    if (count <= 0)
        return -1;
    const int offset = (client.y < 0 || itemHeight <= 0) ? 0 : client.y / itemHeight;
    return std::clamp(topIndex + offset, 0, count - 1);
}

ScrollDirection DragScrollDirection(Point client, const Rect& clientRect, int inset) {
    if (!Contains(clientRect, client))
        return ScrollDirection::None;
    const Rect inner{clientRect.left + inset, clientRect.top + inset, clientRect.right - inset,
                     clientRect.bottom - inset};
    if (Contains(inner, client))
        return ScrollDirection::None;
    if (client.y < inner.top)
        return ScrollDirection::LineUp;
    if (client.y >= inner.bottom)
        return ScrollDirection::LineDown;
    return ScrollDirection::None;
}

DragScrollTimer::Answer DragScrollTimer::Step(std::uint32_t nowMs, Point client,
                                              const Rect& clientRect, std::uint32_t keyState,
                                              int inset) {
    Answer answer;
    if (!started_) {
        started_ = true;
        stamp_ = nowMs;
    }
    if (nowMs - stamp_ < kDragScrollIntervalMs)  // unsigned: right across a wrap
        return answer;
    stamp_ = nowMs;
    answer.acted = true;
    answer.scroll = DragScrollDirection(client, clientRect, inset);
    answer.effect = DropEffectForKeys(keyState) | kDropEffectScroll;
    return answer;
}

std::optional<std::string> LineDragDrop::BeginDrag() {
    const int selected = list_.Selection();
    if (selected < 0)
        return std::nullopt;
    source_ = selected;
    drop_ = kDropNone;
    return ComposeDragText(list_.Lines()[static_cast<std::size_t>(selected)]);
}

ListResult LineDragDrop::EndDrag(std::uint32_t effect) {
    const int source = std::exchange(source_, -1);
    const int drop = std::exchange(drop_, -1);
    ListResult result;
    result.selection = list_.Selection();
    if (effect != kDropEffectMove || source < 0 || drop == kDropOntoSource)
        return result;
    if (drop == kDropNone) {
        // Dropped elsewhere: the source line goes as under Delete.
        list_.Select(source);
        return list_.Delete();
    }
    // Dropped into this list: an insertion before the source pushed it down by one.
    return list_.EraseAt(source < drop ? source : source + 1);
}

DropTargetResult LineDragDrop::DragOver(const DropPoint& point, std::uint32_t keyState) {
    DropTargetResult result;
    if (point.insideClient && point.nearestItem >= 0 && point.nearestItem != list_.Selection())
        list_.Select(point.nearestItem);
    result.effect = DropEffectForKeys(keyState);
    result.list.selection = list_.Selection();
    return result;
}

DropTargetResult LineDragDrop::Drop(const DropPoint& point, std::optional<std::string_view> text,
                                    std::uint32_t keyState) {
    DropTargetResult result = DragOver(point, keyState);
    result.bringToFront = true;
    const std::uint32_t effect = std::exchange(result.effect, kDropEffectNone);
    const bool dragging = source_ >= 0;
    const int selected = list_.Selection();
    if (dragging && selected == source_) {
        drop_ = kDropOntoSource;
        return result;
    }
    std::optional<std::string> line = text ? ParseDragText(*text) : std::nullopt;
    if (!line)
        return result;
    const int index = selected >= 0 ? selected : list_.Count();
    result.list = list_.InsertAt(index, std::move(*line));
    if (!result.list.modified)
        return result;  // refused: the message says so
    result.effect = effect;
    if (dragging)
        drop_ = index;
    return result;
}

}  // namespace zv
