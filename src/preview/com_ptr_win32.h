#pragma once
// One reference to a COM interface, released when its holder goes or is reset.
#include <utility>

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Takes over a reference the caller holds.
    void attach(Interface* object) {
        reset();
        object_ = object;
    }
    // Releases the held reference; the holder is then empty.
    void reset() {
        if (object_) std::exchange(object_, nullptr)->Release();
    }
    // Where a creating call stores a new reference: whatever was held is released first.
    Interface** receive() {
        reset();
        return &object_;
    }

private:
    Interface* object_ = nullptr;
};
