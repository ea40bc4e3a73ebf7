#pragma once

#include <cstddef>
#include <vector>

// Large arrays (a column of a corpus) asked onto large pages before their first write.
// Each fresh small page costs microseconds to fault in on a virtual machine, which for a
// million tokens outweighs the arithmetic done on them. Only advice: where the system
// has no such pages nothing changes.
void adviseLargePages(void *data, std::size_t bytes);

// `values` holding `count` copies of `value`, its storage advised first.
template <class T> void fillOnLargePages(std::vector<T> &values, std::size_t count, const T &value)
{
    values.clear();
    values.reserve(count);
    adviseLargePages(values.data(), count * sizeof(T));
    values.assign(count, value);
}
