! A small drawing from Fortran: an A5 page with a frame, a title, a dashed diagonal, a filled
! triangle, an arc and a few numbers, saved as an EMF file.
!   fortran_demo [FILE.emf]      (default: fortran_demo.emf)
program fortran_demo
  use tamvel
  implicit none
  character(len=512) :: path
  integer :: dc, i, status
  real :: x(3), y(3)

  path = 'fortran_demo.emf'
  if (command_argument_count() >= 1) call get_command_argument(1, path)

  call setappname('fortran_demo')
  call chpage(1)
  dc = plots(148.0, 210.0, 0)
  if (dc == 0) then
    print '(a)', 'fortran_demo: the page could not be opened'
    stop 1
  end if

  ! Frame 10 mm inside the paper.
  call plot(10.0, 10.0, 3)
  call plot(138.0, 10.0, 2)
  call plot(138.0, 200.0, 2)
  call plot(10.0, 200.0, 2)
  call plot(10.0, 10.0, 2)

  call symbol(20.0, 185.0, 6.0, 'tamvel from Fortran', 0.0, 19)

  ! A red dashed diagonal and a filled blue triangle.
  call penc(-1, 996, 0, 0)
  x = [20.0, 128.0, 0.0]
  y = [30.0, 170.0, 0.0]
  call line6(2, x, y, 2)
  call penc(0, 0, 0, 0)
  call fillc(-1, 0, 0, 996)
  x = [30.0, 70.0, 50.0]
  y = [40.0, 40.0, 75.0]
  call patrn(x, y, 3, 1)

  call arc(100.0, 60.0, 20.0, 0.0, 270.0, 1)

  ! A column of numbers with two decimals.
  do i = 1, 5
    call number(20.0, 160.0 - 8.0 * i, 4.0, 3.14159 * i, 0.0, 2)
  end do

  call plot(0.0, 0.0, 999)
  if (isstandby(1) == 0) then
    print '(a)', 'fortran_demo: the page did not close'
    stop 1
  end if
  status = savefile(path)
  if (status /= 0) then
    print '(a, i0)', 'fortran_demo: saving failed with code ', status
    stop 1
  end if
  print '(a)', 'fortran_demo: wrote ' // trim(path)
end program fortran_demo
