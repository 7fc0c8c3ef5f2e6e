#include "BrindleCore.h"

CEvaluatingResult::CEvaluatingResult()
    : m_count(0)
    , m_currentSize(0.0)
    , m_evalutionSize(0.0)
{
}

CEvaluatingResult::CEvaluatingResult(double currentSize, double evalutionSize)
    : m_count(1)
    , m_currentSize(currentSize)
    , m_evalutionSize(evalutionSize)
{
}

double CEvaluatingResult::currentSize() const
{
    return m_currentSize;
}

double CEvaluatingResult::evalutionSize() const
{
    return m_evalutionSize;
}

int CEvaluatingResult::count() const
{
    return m_count;
}

CEvaluatingResult &CEvaluatingResult::operator+=(const CEvaluatingResult &other)
{
    m_currentSize += other.m_currentSize;
    m_evalutionSize += other.m_evalutionSize;
    ++m_count;
    return *this;
}
