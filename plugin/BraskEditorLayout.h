#pragma once
// BraskEditorLayout: builds Brask's editor, a fixed 796 x 472 picture of a hardware panel
// with two lamp switches, six knobs and a needle meter drawn from the embedded PNG strips, and
// hands it to the core. Called once from the plug-in's constructor.

class IPlugBase;

// Creates the editor and its ten controls (background first, meter last), attaches it to plug
// (which takes ownership and shows the current parameter values) and answers the meter
// control's index; -1 when there is no plug-in to build it for.
int BuildBraskEditor(IPlugBase* plug);
