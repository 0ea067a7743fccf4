#pragma once
// The two messages the JSON reader shows when its node index bookkeeping is found broken. They go
// to the system message box; a hook can take them instead (tests, hosts without a desktop).

enum class JsonAlertIcon { None, Error };

using JsonAlertHook = void (*)(const char* text, JsonAlertIcon icon);

// Installs a replacement for the message box; null restores the default. Returns the previous hook.
JsonAlertHook SetJsonAlertHook(JsonAlertHook hook);

void ShowJsonAlert(const char* text, JsonAlertIcon icon);

// 取当前节点索引() 节点索引记录数量为空，程序即将崩溃！
extern const char kJsonAlertIndexEmpty[];
// 取当前节点索引() 节点索引记录超出，程序即将崩溃！
extern const char kJsonAlertIndexBeyond[];
