#pragma once

#include <string>
#include <string_view>
#include <vector>

// The values of one team or one player, keyed by display label ("Pass Att",
// "Rush Avg", ...). A label that was never set reads as the empty text.
//
// Labels of the fixed vocabulary are stored by number, in the order they were
// set; a reload stores thousands of them, and a player has a few dozen at most.
class StatValues
{
public:
    // Number of a label of the vocabulary, or -1 for any other text.
    static int LabelIndex(std::string_view label);
    // Text of a vocabulary label.
    static std::string_view LabelText(int index);

    // Value of `label`, or the empty text.
    const std::string &get(std::string_view label) const;
    bool contains(std::string_view label) const;

    // Sets a label, replacing any earlier value.
    void set(std::string_view label, std::string value);
    // The same, by vocabulary number (0 <= index < vocabulary size).
    void set(int index, std::string value);
    // Adds vocabulary label `index`, which must not be set yet, without
    // looking for it: for loaders that fill an empty object label by label.
    void append(int index, std::string value);
    // Makes room for `count` values in all, for a loader that knows how many
    // it adds.
    void reserve(size_t count) { values_.reserve(count); }

    void clear();
    bool empty() const { return values_.empty(); }
    size_t size() const { return values_.size(); }

    // Calls visit(label, value) for every value, in the order they were set.
    template <typename Visit> void forEach(Visit visit) const
    {
        for (const Entry &entry : values_)
            visit(labelOf(entry), entry.value);
    }

private:
    // A game holds a few hundred thousand values: an entry is the value and
    // the number of its label, nothing more.
    struct Entry {
        std::string value;
        int index; // vocabulary number; -1 - k for otherLabels_[k]
    };
    Entry *find(std::string_view label);
    const Entry *find(std::string_view label) const;
    std::string_view labelOf(const Entry &entry) const
    {
        return entry.index >= 0 ? LabelText(entry.index)
                                : std::string_view(otherLabels_[-1 - entry.index]);
    }

    std::vector<Entry> values_;
    std::vector<std::string> otherLabels_; // labels outside the vocabulary, rarely any
};
