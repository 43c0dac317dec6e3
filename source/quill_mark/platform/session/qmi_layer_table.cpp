// Built once into each layer made for the switchable seam, with that layer's names forced in
// (qmi_layer_names.h): the layer's operations gathered into a table of the framework's types.
// The layers' handles are pointers to their own types, which the framework only passes back, so
// they cross over unchanged; everything else already has the same type on both sides.
// The window procedure is the one thing a layer calls with its own handle type: the framework
// registered it with its type, which differs only in what the pointer parameter points to.
#include <type_traits>

#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/session/qmi_seam_table.h"

namespace
{

// The framework's type for a type of the layer: its three handle types differ, the rest agree.
template <typename LayerType>
struct FrameworkTypeOf
{
    using Type = LayerType;
};
template <>
struct FrameworkTypeOf<HWND>
{
    using Type = qmSeam::Window;
};
template <>
struct FrameworkTypeOf<HDC>
{
    using Type = qmSeam::DeviceContext;
};
template <>
struct FrameworkTypeOf<HGLRC>
{
    using Type = qmSeam::GlContext;
};
template <typename LayerType>
using FrameworkType = typename FrameworkTypeOf<LayerType>::Type;

template <typename To, typename From>
To Convert(From value)
{
    if constexpr (std::is_same_v<To, From>)
    {
        return value;
    }
    else
    {
        return reinterpret_cast<To>(value);
    }
}

template <typename Function, Function function>
struct Adapter;

template <typename Result, typename... Parameters, Result (*function)(Parameters...)>
struct Adapter<Result (*)(Parameters...), function>
{
    static FrameworkType<Result> Call(FrameworkType<Parameters>... arguments)
    {
        if constexpr (std::is_void_v<Result>)
        {
            function(Convert<Parameters>(arguments)...);
        }
        else
        {
            return Convert<FrameworkType<Result>>(function(Convert<Parameters>(arguments)...));
        }
    }
};

}  // namespace

// The names below are the layer's own, renamed by the forced header.
#define QM_LAYER_TABLE_ENTRY(result, name, member, parameters, arguments) \
    &Adapter<decltype(&::name), &::name>::Call,
extern const qmSeam::Table QM_LAYER_NAME(LayerTable) = {QM_SEAM_OPERATIONS(QM_LAYER_TABLE_ENTRY)};
#undef QM_LAYER_TABLE_ENTRY
