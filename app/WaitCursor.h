#pragma once

// The application-wide wait cursor with a nesting counter: the first start remembers the cursor
// in force and shows the hourglass, every start adds one, every end takes one away (never below
// zero), and the remembered cursor returns when the count is back at zero.
class WaitCursor
{
public:
    static void start();
    static void end();
    static int depth();
};

// Starts a wait for the lifetime of a scope.
class WaitCursorScope
{
public:
    WaitCursorScope() { WaitCursor::start(); }
    ~WaitCursorScope() { WaitCursor::end(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};
