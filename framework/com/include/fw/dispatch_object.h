// An automation object without a type library: IDispatch answered from a
// table of members (dispatch id, name, parameter count, function).
//
//   class Document : public fw::DispatchObject {
//   public:
//       Document() : DispatchObject({kDocumentIid}) {
//           AddMethod(1, L"SetFocusOnLinkItem", 1, [this](const fw::DispArgs& a, fw::Variant*) {
//               return Focus(a.String(0));
//           });
//       }
//   };
#pragma once

#include "fw/com_object.h"
#include "fw/dispatch.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace fw {

class DispatchObject : public ComObject<IDispatch> {
public:
    // The member's result goes to *result (which may be null when the caller
    // wants none); a failed HRESULT is returned to the caller.
    using Method = std::function<HRESULT(const DispArgs& args, Variant* result)>;

    // extraInterfaces: dispinterface ids the object also answers as IDispatch.
    explicit DispatchObject(std::initializer_list<IID> extraInterfaces = {});

    // A method (also callable as a property get) taking exactly paramCount
    // positional arguments.
    void AddMethod(DISPID id, std::wstring name, UINT paramCount, Method method);

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

protected:
    void* QueryExtra(REFIID iid) override;

private:
    struct Member {
        DISPID id;
        std::wstring name;
        UINT paramCount;
        Method method;
    };
    const Member* Find(DISPID id) const;

    std::vector<IID> extra_;
    std::vector<Member> members_;
};

}  // namespace fw
