! fortran_show - a Fortran program's page on the screen: draws a page and shows it in the
! viewer until the viewer is closed (Linux, in a desktop session).
program fortran_show
  use tamvel
  implicit none
  integer :: dc, status

  dc = plots(210.0, 297.0, 0)
  call plot(20.0, 20.0, 3)
  call plot(120.0, 20.0, 2)
  call plot(120.0, 120.0, 2)
  call plot(20.0, 120.0, 2)
  call plot(20.0, 20.0, 2)
  call symbol(25.0, 130.0, 6.0, '100 mm', 0.0, 6)
  call plot(0.0, 0.0, 999)
  status = tamvel_show_pages(1, 1, 0)
  print '(a, i0)', 'tamvel_show_pages: ', status
  if (status /= 0) stop 1
end program fortran_show
