#pragma once
// Directory service access through the WinNT provider: bind by path, enumerate
// containers and group members, read names and paths, change and store group
// membership. Every object is released when its owner is destroyed.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Status.h"

namespace rosterly {

class DirObject;

// One enumeration of a container's children or a group's members, in the
// provider's order.
class DirEnumerator {
 public:
  virtual ~DirEnumerator() = default;
  // The next object; a null pointer once the enumeration is complete.
  virtual Result<std::unique_ptr<DirObject>> Next() = 0;
};

// A bound object. Operations its kind does not support fail with
// kErrNoInterface, as a late-bound call would.
class DirObject {
 public:
  virtual ~DirObject() = default;

  virtual Result<std::string> Name() = 0;     // short name
  virtual Result<std::string> ADsPath() = 0;  // the provider's own path

  // Container: later enumerations return only children of these classes
  // (class names compare with letter case ignored; an empty list means all).
  virtual Status SetFilter(const std::vector<std::string>& classes) = 0;
  virtual Result<std::unique_ptr<DirEnumerator>> Enumerate() = 0;

  // Group.
  virtual Result<std::unique_ptr<DirEnumerator>> Members() = 0;
  virtual Status Add(std::string_view memberADsPath) = 0;
  virtual Status Remove(std::string_view memberADsPath) = 0;
  virtual Status SetInfo() = 0;  // stores the changes made so far
  // Whether the member belongs to the group, as the directory holds it now.
  virtual Result<bool> IsMember(std::string_view memberADsPath) = 0;
};

// The interface the object is bound through (ADsGetObject's interface id).
enum class BindAs { Container, Group };

class Directory {
 public:
  virtual ~Directory() = default;
  // Paths are passed as built: no escaping, no trimming.
  virtual Result<std::unique_ptr<DirObject>> Bind(std::string_view path, BindAs as) = 0;
};

}  // namespace rosterly
