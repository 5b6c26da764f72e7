// Every line of a text held in memory, read back through the buffered text stream by each of its
// read paths and given as characters, so that the paths meet one expectation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/buffered_text_stream.h"
#include "platform/memory_channel.h"

namespace platform_test {

using platform::BufferedTextStream;
using platform::MemoryChannel;
using Direction = BufferedTextStream::Direction;
using Lines = std::vector<std::wstring>;

// By ReadLine, into a line that holds a longer text at first: each read must replace it.
Lines ReadAll(std::string_view bytes, std::size_t bufferSize);
// By ReadLineBytes.
Lines ReadAllAsBytes(std::string_view bytes, std::size_t bufferSize);
// By ReadLineRun where the stream hands runs out; each run must keep its promise.
Lines ReadAllByRuns(std::string_view bytes, std::size_t bufferSize);

}  // namespace platform_test
