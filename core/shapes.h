// The shapes of an operation's answer, named in the operation tables, and the
// conversion methods ServiceClient generates from them.
//
// A table row is X(Op, Request, Response, Shape, Send):
//   Shape  what the caller's record gets from the answer:
//          CallResult        <Op>Result and resultCode into result and resultCode
//          Value             <Op>Result (an integer, enumeration or boolean) into value
//          ResultCode        the response is an int32 that takes resultCode
//          Status            nothing: the status of the exchange is the outcome
//          Text(field)       resultCode; the text result, when present, into field
//          Item(member)      resultCode; the result, when present, by Copy into member
//          Record            resultCode; the result, when present, by Copy into the record
//          List(Rule, items) the list rule FillList<Rule> over <Op>Result's items, by Copy
//          Stored            resultCode; then the service's Store(record, answer)
//          Custom            a hand-written Call<Op>
//   Send   statements that fill the request element `wire` from `request`:
//          WS_SET(member, value), WS_FILL (the service's Fill(wire, record, out)),
//          WS_REQUIRE(condition) (else -1 before anything is sent); empty for none.
// Copy(record, wire) and Fill(wire, record, out) are the service's own field
// mappings, overloaded by type beside its conversions.
#pragma once

#include "records.h"

namespace ws {

struct CallResultShape {
  template <class Answer, class Result, class Out>
  int operator()(Answer &answer, Result result, Out *out) const {
    return StoreCallResult(out, result(answer), answer.resultCode);
  }
};

struct ValueShape {
  template <class Answer, class Result, class Out>
  int operator()(Answer &answer, Result result, Out *out) const {
    out->value = result(answer);
    out->resultCode = answer.resultCode;
    return 0;
  }
};

struct ResultCodeShape {
  template <class Answer, class Result>
  int operator()(Answer &answer, Result, int32_t *out) const {
    *out = answer.resultCode;
    return 0;
  }
};

struct StatusShape {
  template <class Answer, class Result, class Out>
  int operator()(Answer &, Result, Out *) const {
    return 0;
  }
};

// resultCode always; then store(out, result) when the answer holds a result.
template <class Store>
struct PresentShape {
  Store store;
  template <class Answer, class Result, class Out>
  int operator()(Answer &answer, Result result, Out *out) const {
    out->resultCode = answer.resultCode;
    if (const auto *present = result(answer)) store(*out, *present);
    return 0;
  }
};
template <class Store>
PresentShape<Store> Present(Store store) {
  return {store};
}

// resultCode always; then store(out, answer) says the status.
template <class Store>
struct StoredShape {
  Store store;
  template <class Answer, class Result, class Out>
  int operator()(Answer &answer, Result, Out *out) const {
    out->resultCode = answer.resultCode;
    return store(*out, answer);
  }
};
template <class Store>
StoredShape<Store> Stored(Store store) {
  return {store};
}

// rule(out, resultCode, the result's items or null, copy).
template <class Rule, class Items, class Copy>
struct ListShape {
  Rule rule;
  Items items;
  Copy copy;
  template <class Answer, class Result, class Out>
  int operator()(Answer &answer, Result result, Out *out) const {
    const auto *list = result(answer);
    return rule(out, answer.resultCode, list ? &items(*list) : nullptr, copy);
  }
};
template <class Rule, class Items, class Copy>
ListShape<Rule, Items, Copy> List(Rule rule, Items items, Copy copy) {
  return {rule, items, copy};
}

}  // namespace ws

// The shapes as the generated conversion builds them; Copy is looked up where
// the conversion is defined, among the service's own mappings.
#define WS_SHAPE_CallResult ::ws::CallResultShape()
#define WS_SHAPE_Value ::ws::ValueShape()
#define WS_SHAPE_ResultCode ::ws::ResultCodeShape()
#define WS_SHAPE_Status ::ws::StatusShape()
#define WS_SHAPE_Text(field) \
  ::ws::Present([](auto &out, const char &text) { ::ws::CopyTextIfPresent(out.field, &text); })
#define WS_SHAPE_Item(member) ::ws::Present([](auto &out, const auto &wire) { Copy(out.member, wire); })
#define WS_SHAPE_Record ::ws::Present([](auto &out, const auto &wire) { Copy(out, wire); })
#define WS_SHAPE_Stored ::ws::Stored([](auto &out, const auto &answer) { return Store(out, answer); })
#define WS_SHAPE_List(Rule, member)                                                                          \
  ::ws::List([](auto *out, int code, const auto *items, auto copy) { return ::ws::FillList##Rule(out, code, items, copy); }, \
             [](const auto &list) -> const auto & { return list.member; },                                  \
             [](auto &item, const auto &wire) { Copy(item, wire); })

// The request column's statements.
#define WS_SET(member, value) wire.member = ::ws::Send(value);
#define WS_FILL Fill(wire, *request, out);
#define WS_REQUIRE(condition) \
  if (!(condition)) return WS_STATUS_NO_INPUT;

// Calls the proxy operation Op (for the hand-written conversions).
#define WS_INVOKE(Op, request, response) this->Invoke(&Proxy::Op, nullptr, request, response)

// Defines Client::Call<Op> from its table row, unless its shape is Custom.
#define WS_CAT(a, b) WS_CAT_(a, b)
#define WS_CAT_(a, b) a##b
#define WS_SECOND(a, b, ...) b
#define WS_SECOND_OF(...) WS_SECOND(__VA_ARGS__)
#define WS_PROBE_Custom ~, 1,
#define WS_IS_CUSTOM(shape) WS_SECOND_OF(WS_PROBE_##shape, 0, )
#define WS_DEFINE_CONVERSION(Client, Op, Request, Response, Shape, Send) \
  WS_CAT(WS_CONVERSION_, WS_IS_CUSTOM(Shape))(Client, Op, Request, Response, Shape, Send)
#define WS_CONVERSION_1(...)
#define WS_CONVERSION_0(Client, Op, Request, Response, Shape, Send)                                        \
  int Client::Call##Op(const Request *request, Response *response) {                                      \
    _ns1__##Op wire;                                                                                       \
    ::ws::Outgoing out;                                                                                    \
    Send return this->Exchange(&Proxy::Op, &wire, response, WS_SHAPE_##Shape,                              \
                               [](auto &answer) -> auto & { return answer.Op##Result; });                  \
  }
