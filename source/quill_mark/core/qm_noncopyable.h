// SPDX-License-Identifier: Zlib
// Base for framework objects that own process-wide or platform resources and must not be copied.
// It only deletes copying; moving is not offered either, as nothing in the framework needs it.
#pragma once

namespace Quillmark::Core
{

class Noncopyable
{
protected:
    Noncopyable() = default;
    ~Noncopyable() = default;

public:
    Noncopyable(const Noncopyable&) = delete;
    Noncopyable& operator=(const Noncopyable&) = delete;
};

}  // namespace Quillmark::Core
