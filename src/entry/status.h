#pragma once
// Automation-style status codes the component returns to its host.
#include <QString>
#include <cstdint>

namespace slp {

namespace status {
inline constexpr int32_t Ok = 0;
inline constexpr int32_t NotImplemented = static_cast<int32_t>(0x80004001u);
inline constexpr int32_t Pointer = static_cast<int32_t>(0x80004003u);
inline constexpr int32_t Fail = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t Unexpected = static_cast<int32_t>(0x8000FFFFu);
inline constexpr int32_t MemberNotFound = static_cast<int32_t>(0x80020003u);
inline constexpr int32_t TypeMismatch = static_cast<int32_t>(0x80020005u);
inline constexpr int32_t UnknownName = static_cast<int32_t>(0x80020006u);
inline constexpr int32_t Exception = static_cast<int32_t>(0x80020009u);
inline constexpr int32_t BadParamCount = static_cast<int32_t>(0x8002000Eu);
inline constexpr int32_t ClassString = static_cast<int32_t>(0x800401F3u);
}  // namespace status

// The outcome of one member call: a status code and, on failure, what went wrong.
struct Status {
    int32_t code = status::Ok;
    QString description;
    bool ok() const { return code == status::Ok; }
    static Status success() { return {}; }
};

}  // namespace slp
