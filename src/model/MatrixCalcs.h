// Gauss-Jordan elimination with full pivoting: the inverse behind the
// quadratic fit and the solver of the Sellmeier step, both in double
// precision; and the least-squares solver by orthogonal factors of the linear
// formula fits, whose systems are too badly conditioned for the normal
// equations.
#pragma once

#include <array>
#include <span>
#include <vector>

class IBoxes;

constexpr int kMaxMatrixOrder = 10;

// A matrix of up to kMaxMatrixOrder × kMaxMatrixOrder, indexed from 1.
template <class T>
class SmallMatrix {
public:
    T& operator()(int row, int col) { return m_cells[index(row, col)]; }
    const T& operator()(int row, int col) const { return m_cells[index(row, col)]; }
    void fill(T value) { m_cells.fill(value); }

private:
    static std::size_t index(int row, int col) {
        return static_cast<std::size_t>((row - 1) * kMaxMatrixOrder + (col - 1));
    }
    std::array<T, kMaxMatrixOrder * kMaxMatrixOrder> m_cells{};
};
using MatrixD = SmallMatrix<double>;

// Replaces the n × n matrix a by its inverse. False, with a in an undefined
// state, when it is singular, holds a value that is not finite, or n is not
// 1..kMaxMatrixOrder; it shows nothing, the caller tells the user.
bool GaussJordanInvert(MatrixD& a, int n);

// Replaces the n × n matrix a by its inverse and the n × k right-hand sides b
// by the solutions. On failure shows (when showMessages) one plain box naming
// the fault, and returns False.
bool GaussJordanSolve(MatrixD& a, int n, MatrixD& b, int k, bool showMessages, IBoxes& boxes);

// The least-squares solution c (cols values) of the rows × cols system a·c ≈ y,
// a row-major, by Householder QR of a whose columns are first scaled to unit
// length: the conditioning is that of a, not its square as in the normal
// equations. False when rows < cols, a column depends on the others or a value
// is not finite; c is then unchanged. a and y are overwritten.
bool SolveLeastSquares(std::vector<double>& a, int rows, int cols, std::vector<double>& y, std::span<double> c);
