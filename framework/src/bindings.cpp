#include "framework/bindings.h"

namespace fw {

Bindings& Bindings::Current() {
  thread_local Bindings registry;
  return registry;
}

void Bindings::Bind(std::string_view label, void* address, store::FieldType type, std::size_t size) {
  map_[std::string(label)] = {address, type, size};
}

const Binding* Bindings::Find(std::string_view label) const {
  auto it = map_.find(label);
  return it == map_.end() ? nullptr : &it->second;
}

}  // namespace fw
