// Message tables: a class lists the messages, command ids (or id ranges) and
// notifications it handles, one handler each, and chains to its base class's
// table. The lookup is plain integers so it builds and is tested anywhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velk::fw {

enum class MsgKind : uint8_t {
  Message,  // a window message number (or a range of them)
  Command,  // WM_COMMAND with a command id (or range), any notification code
  Notify,   // WM_NOTIFY from one control id with one notification code
  Asked,    // whatever the entry's question accepts (a class's own table of messages)
};

struct MsgKey;

template <class Handler>
struct MsgEntry {
  MsgKind kind;
  uint32_t first;
  uint32_t last;
  uint32_t code;  // Notify only
  Handler handler;
  bool (*accepts)(const MsgKey& key) = nullptr;  // Asked only
};

template <class Handler>
struct MsgTable {
  const MsgTable* base;
  const MsgEntry<Handler>* entries;
  size_t count;
};

// What a message is asking for: its number, and for commands and notifications
// the id and code it carries.
struct MsgKey {
  uint32_t message;
  bool isCommand;
  bool isNotify;
  uint32_t id;
  uint32_t code;
};

template <class Handler>
bool EntryMatches(const MsgEntry<Handler>& e, const MsgKey& k) {
  switch (e.kind) {
    case MsgKind::Message:
      return k.message >= e.first && k.message <= e.last;
    case MsgKind::Command:
      return k.isCommand && k.id >= e.first && k.id <= e.last;
    case MsgKind::Notify:
      return k.isNotify && k.id == e.first && k.code == e.code;
    case MsgKind::Asked:
      return e.accepts && e.accepts(k);
  }
  return false;
}

// First match wins, the derived class's table before its base's.
template <class Handler>
const MsgEntry<Handler>* FindEntry(const MsgTable<Handler>* table, const MsgKey& key) {
  for (; table; table = table->base) {
    for (size_t i = 0; i < table->count; ++i) {
      if (EntryMatches(table->entries[i], key)) return &table->entries[i];
    }
  }
  return nullptr;
}

}  // namespace velk::fw
