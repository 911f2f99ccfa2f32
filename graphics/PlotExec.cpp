// The drawing side of the graphic commands' exec: each command makes one
// call of the X drawing back end. PlotFeed is its empty twin for testers.
#include "GrcCommands.h"
#include "PlotSink.h"

void GrcColor::exec()
{
    if (m_Mode != 0)
        _SetForeground(m_Red, m_Green, m_Blue);
    else
        _ClearBackground(m_Red, m_Green, m_Blue);
}

void GrcPoint::exec() { _DrawPoint(m_X, m_Y); }

void GrcLine::exec() { _DrawLine(m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y); }

void GrcRect::exec()
{
    if (m_Fill != 0)
        _FillRect(m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y);
    else
        _DrawRect(m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y);
}

void GrcArc::exec()
{
    if (m_Fill != 0)
        _FillArc(m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y, m_Angle1, m_Angle2);
    else
        _DrawArc(m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y, m_Angle1, m_Angle2);
}

// A polygon whose points could not be had (count 0) draws nothing.
void GrcPoly::exec()
{
    if (m_Count <= 0 || !m_Points)
        return;
    if (m_Fill != 0)
        _FillPolygon(m_Count, m_Points, m_Points + m_Count);
    else
        _DrawPolygon(m_Count, m_Points, m_Points + m_Count);
}

void GrcText::exec()
{
    if (m_Font == 0)
        _DrawTinyString(m_X, m_Y, m_Text);
    else if (m_Font == 1)
        _DrawMediumString(m_X, m_Y, m_Text);
    else
        _DrawLargeString(m_X, m_Y, m_Text);
}
