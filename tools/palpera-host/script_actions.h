#pragma once

// What each script action does (one source file each); scriptActions() lists them with their words.

#include "script_action.h"

void startModule(HostSession& session, const ScriptWords& words);
void setSetting(HostSession& session, const ScriptWords& words);
void loadPlugin(HostSession& session, const ScriptWords& words);
void replayLog(HostSession& session, const ScriptWords& words);
void recordLog(HostSession& session, const ScriptWords& words);
void stopRecording(HostSession& session, const ScriptWords& words);
void startCommand(HostSession& session, const ScriptWords& words);
void pressControl(HostSession& session, const ScriptWords& words);
void enterValue(HostSession& session, const ScriptWords& words);
void applyCommand(HostSession& session, const ScriptWords& words);
void cancelCommand(HostSession& session, const ScriptWords& words);
void finishRunningCommand(HostSession& session, const ScriptWords& words);
void answerDialog(HostSession& session, const ScriptWords& words);
void answerFileDialog(HostSession& session, const ScriptWords& words);
void refuseSavePath(HostSession& session, const ScriptWords& words);
void runMainLoop(HostSession& session, const ScriptWords& words);
void runUntilEvent(HostSession& session, const ScriptWords& words);
void injectMouse(HostSession& session, const ScriptWords& words);
void injectKey(HostSession& session, const ScriptWords& words);
void sendCommandEvent(HostSession& session, const ScriptWords& words);
void addCadBox(HostSession& session, const ScriptWords& words);
void addLocationSet(HostSession& session, const ScriptWords& words);
void loadCadFile(HostSession& session, const ScriptWords& words);
void addFeature(HostSession& session, const ScriptWords& words);
void printState(HostSession& session, const ScriptWords& words);
void useOptionsPage(HostSession& session, const ScriptWords& words);
void writeTileImage(HostSession& session, const ScriptWords& words);
void setContextFlag(HostSession& session, const ScriptWords& words);
void chooseCurrentObject(HostSession& session, const ScriptWords& words);
void chooseActiveObject(HostSession& session, const ScriptWords& words);
void chooseListEntry(HostSession& session, const ScriptWords& words);
void typeText(HostSession& session, const ScriptWords& words);
void editTableCell(HostSession& session, const ScriptWords& words);
void chooseRadio(HostSession& session, const ScriptWords& words);
void setLengthUnit(HostSession& session, const ScriptWords& words);
void compareFeatures(HostSession& session, const ScriptWords& words);
void runScriptCommand(HostSession& session, const ScriptWords& words);
void printRecordedCommand(HostSession& session, const ScriptWords& words);
void setObjectTransform(HostSession& session, const ScriptWords& words);
