#pragma once

#include <memory>
#include <vector>

// A list that owns its entries: what readers hand to the database, and what the database keeps.
template<typename T>
using OwnedList = std::vector<std::unique_ptr<T>>;
