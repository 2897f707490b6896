#pragma once

// The registry's two managers, found through the host's "IZelPluginService". The answers carry no reference
// (the registry keeps its own for the module's life): a holder keeps one in an IPtr. Null when the registry
// or the entry is missing. Main thread.

class IZelPlugin;
class IZelPluginManager;

IZelPluginManager* getHardProbePluginManager();
IZelPluginManager* getLaserScanPluginManager();
// The hard-probe manager's current plug-in (the replay plug-in during a replay); null without one.
IZelPlugin* getCurrentHardProbePlugin();
