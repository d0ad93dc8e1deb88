! Calls through the module whose arguments travel other than by value: values the library
! reads and writes back (dimtabr), values it only writes (getoff, where), and a string
! descriptor (len2). A wrong interface passes values where addresses belong, or the reverse.
program binding_test
  use tamvel
  implicit none
  real :: width, height, x_offset, x_factor, y_offset, y_factor, spacing, x, y, scale
  integer :: failures

  failures = 0
  width = 100.6
  height = 50.3
  ! No device size: the page is sized by the variables, cut to whole millimetres.
  call check('dimtabr opens the page', dimtabr(width, height, c_null_ptr, 0, 0) /= 0)
  call check('dimtabr writes the width back', abs(width - 100.0) < 1e-6)
  call check('dimtabr writes the height back', abs(height - 50.0) < 1e-6)

  call offset(1.5, 2.5, 3.5, 4.5)
  call getoff(x_offset, x_factor, y_offset, y_factor, spacing)
  call check('getoff returns the offsets in order', abs(x_offset - 1.5) + abs(x_factor - 2.5) &
             + abs(y_offset - 3.5) + abs(y_factor - 4.5) < 1e-6)

  call plot(12.5, 7.25, 3)
  call where(x, y, scale)
  ! Within the rounding to page units (1/1440 inch).
  call check('where returns the pen position', abs(x - 12.5) < 0.02 .and. abs(y - 7.25) < 0.02)
  call check('where returns the factor', abs(scale - 1.0) < 1e-6)

  call check('len2 drops trailing blanks', len2('ab   ') == 2)
  call plot(0.0, 0.0, 999)

  if (failures > 0) stop 1
  print '(a)', 'binding_test: ok'

contains

  subroutine check(what, holds)
    character(len=*), intent(in) :: what
    logical, intent(in) :: holds
    if (.not. holds) then
      print '(2a)', 'binding_test: FAILED: ', what
      failures = failures + 1
    end if
  end subroutine check

end program binding_test
