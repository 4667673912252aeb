// An element of a sequence together with its offset, so that equal elements at different offsets differ.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "MarkdownRender/model/hash_combine.h"

namespace MarkdownRender {

template <class Element>
struct Indexed {
  std::int64_t index = 0;  // the offset in its sequence, from 0
  Element value;

  bool operator==(const Indexed&) const = default;
};

}  // namespace MarkdownRender

template <class Element>
requires requires(const Element& e) { std::hash<Element>{}(e); }
struct std::hash<MarkdownRender::Indexed<Element>> {
  std::size_t operator()(const MarkdownRender::Indexed<Element>& indexed) const {
    std::size_t seed = 0;
    MarkdownRender::detail::hashValue(seed, indexed.index);
    MarkdownRender::detail::hashValue(seed, indexed.value);
    return seed;
  }
};
