#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The values of one team or one player, keyed by display label ("Pass Att",
// "Rush Avg", ...). A label that was never set reads as the empty text.
//
// Labels of the fixed vocabulary are stored by number, in the order they were
// set; a reload stores thousands of them, and a player has a few dozen at most.
// Most values are small whole numbers, "" or a ratio such as "4.5": those
// refer to one shared immutable copy, and only other texts are held here.
class StatValues
{
public:
    // Number of a label of the vocabulary, or -1 for any other text.
    static int LabelIndex(std::string_view label);
    // Text of a vocabulary label.
    static std::string_view LabelText(int index);

    // Value of `label`, or the empty text. The reference is valid until the
    // object is next changed.
    const std::string &get(std::string_view label) const;
    bool contains(std::string_view label) const;

    // Sets a label, replacing any earlier value.
    void set(std::string_view label, std::string_view value);
    // The same, by vocabulary number (0 <= index < vocabulary size).
    void set(int index, std::string_view value);
    // Adds vocabulary label `index`, which must not be set yet, without
    // looking for it: for loaders that fill an empty object label by label.
    void append(int index, std::string_view value);
    // Makes room for `count` values in all, of which about `texts` are not
    // small numbers, for a loader that knows how many it adds.
    void reserve(size_t count, size_t texts)
    {
        entries_.reserve(count);
        texts_.reserve(texts);
    }

    // Removes every value; the room made for them stays.
    void clear();
    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }

    // Calls visit(label, value) for every value, in the order they were set.
    template <typename Visit> void forEach(Visit visit) const
    {
        for (const Entry &entry : entries_)
            visit(labelOf(entry), textOf(entry));
    }

private:
    // A game holds a few hundred thousand values: an entry is two numbers.
    struct Entry {
        std::uint32_t text; // a shared text, or sharedCount + k for texts_[k]
        std::int32_t label; // vocabulary number, or -1 - k for the label texts_[k]
    };
    // "", the whole numbers -99 to 1999 and the ratios 0.0 to 99.9.
    static constexpr std::uint32_t sharedCount = 1 + 2099 + 1000;
    static const std::string &sharedText(std::uint32_t index);

    Entry *find(std::string_view label);
    const Entry *find(std::string_view label) const;
    // The entry text for `value`: a shared one, or one added here.
    std::uint32_t store(std::string_view value);
    void replace(Entry &entry, std::string_view value);
    std::string_view labelOf(const Entry &entry) const
    {
        return entry.label >= 0 ? LabelText(entry.label)
                                : std::string_view(texts_[-1 - entry.label]);
    }
    const std::string &textOf(const Entry &entry) const
    {
        return entry.text < sharedCount ? sharedText(entry.text) : texts_[entry.text - sharedCount];
    }

    std::vector<Entry> entries_;
    std::vector<std::string> texts_; // values not shared, and labels outside the vocabulary
};
