// The expression-binding registry: fields and memos made known by their labels
// ("KAM:MATERIA") so that expressions can name them. Per thread, because the
// record buffers are. Nothing evaluates expressions yet; the registry only
// answers what a label is bound to.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "store/layout.h"

namespace fw {

struct Binding {
  void* address = nullptr;
  store::FieldType type = store::FieldType::String;
  std::size_t size = 0;  // bytes
};

class Bindings {
 public:
  static Bindings& Current();  // the calling thread's registry
  void Bind(std::string_view label, void* address, store::FieldType type, std::size_t size);
  const Binding* Find(std::string_view label) const;
  void Clear() { map_.clear(); }
  std::size_t Count() const { return map_.size(); }

 private:
  std::map<std::string, Binding, std::less<>> map_;
};

}  // namespace fw
